// Keeps the main menu in step with the device function and the link state,
// repaints the main window when either changes, and asks about unsaved data
// of a function that was left.
#pragma once

void RefreshModeState();
