// The help window (class "QIVHelpClass"): one window owned by the main
// window that shows the help topics built into the program, with a topic
// list, back and forward. User-interface thread only.
#pragma once

#include <windows.h>

// Shows `topic` (a help topic number; 0 the contents; an unknown number the
// contents too) in the help language `language` for the device function
// `function`. Creates the window at the first request; later requests
// navigate it. With `activate` false the window comes to the front without
// taking the focus, so the dialog that asked keeps its typing.
void ShowHelpTopic(HWND owner, int language, int function, int topic, bool activate);

// The help window's own keys (Esc, Tab, Alt+Left/Right, Backspace) for a
// message of the thread's loop; true when the message was handled.
bool TranslateHelpWindowMessage(MSG* msg);

// True when `window` is the help window or one of its controls.
bool IsHelpWindowOrChild(HWND window);
