// qiv72ctl: the QIV-72 from the command line and from scripts.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/ctl/console.h"
#include "tools/ctl/ctl_commands.h"
#include "tools/ctl/ctl_options.h"
#include "tools/ctl/serial_port.h"

int main(int argc, char** argv) {
    CtlOptions options;
    std::string error;
    if (!ParseCtlOptions(argc, argv, std::getenv("QIV72_PORT"), DefaultPortName(), &options, &error)) {
        std::fprintf(stderr, "qiv72ctl: %s\n\n%s", error.c_str(), CtlUsage());
        return ExitUsage;
    }
    if (options.help) {
        std::fputs(CtlUsage(), stdout);
        return ExitDone;
    }
    InstallInterruptHandler();
    return RunCtlCommand(options);
}
