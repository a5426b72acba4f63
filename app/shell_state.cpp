#include "app/shell_state.h"

#include <cstring>

ProgramSettingsData ProgramSettings;

char SetupComment[SetupCommentSize] = {};
char CurrentSetupPath[FunctionSlots][SetupPathSize] = {"", "new.c72", "new.s72", "new.a72"};
char CurrentSetupTitle[FunctionSlots][SetupTitleSize] = {"", "new.c72", "new.s72", "new.a72"};

void ResetShellState() {
    ProgramSettings = ProgramSettingsData{};
    std::memset(SetupComment, 0, sizeof SetupComment);
    static const char* const initial[FunctionSlots] = {"", "new.c72", "new.s72", "new.a72"};
    for (int f = 0; f < FunctionSlots; ++f) {
        std::memset(CurrentSetupPath[f], 0, SetupPathSize);
        std::memset(CurrentSetupTitle[f], 0, SetupTitleSize);
        std::strcpy(CurrentSetupPath[f], initial[f]);
        std::strcpy(CurrentSetupTitle[f], initial[f]);
    }
}
