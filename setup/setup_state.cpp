#include "setup/setup_state.h"

int32_t UnsavedChanges = 0;
