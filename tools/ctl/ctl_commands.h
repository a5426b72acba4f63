// The commands of qiv72ctl. Each opens the port, works the unit through the
// link core and returns an exit code (CtlExit); messages go to stderr.
#pragma once

#include "tools/ctl/ctl_options.h"

int RunCtlCommand(const CtlOptions& options);
