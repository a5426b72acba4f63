// Setup state shared by the editing paths and the setup files.
#pragma once

#include <cstdint>

// Set whenever the user's setup changes (an edit, or a setting the unit
// reports differently); cleared when the setup is saved or loaded.
extern int32_t UnsavedChanges;
