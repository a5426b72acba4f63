// Process-wide state of the application shell that needs no platform: the
// program's options (kept in the settings file QEN72.INI), the setup comment
// and the current setup file of each device function. Owned by the main
// window's thread; the port's event thread reads none of it.
#pragma once

#include <cstdint>

#include "model/screen_geometry.h"
#include "setup/setup_file.h"

inline constexpr int PortNameSize = 8;  // up to 7 characters and a terminator
inline constexpr int SetupPathSize = 1000;
inline constexpr int SetupTitleSize = 256;
inline constexpr int FunctionSlots = 4;  // indexed by DeviceFunction 0 to 3

// Help languages as the settings file and the help language dialog number
// them.
enum HelpLanguageValue : int32_t { HelpDeutsch = 0, HelpEnglish = 1 };

// The options of the program, as read from and written to QEN72.INI.
struct ProgramSettingsData {
    int32_t alwaysTop = 0;
    char portName[PortNameSize] = "COM2";  // the serial link's PortName
    int32_t safeMode = 1;                  // Safe File Mode
    int32_t screenSaverOff = 0;            // refuse the screen saver
    int32_t helpLanguage = HelpDeutsch;
    ScreenRect mainWindowRect = {100, 100, 200, 200};  // MainWindowRect
    ScreenPoint analyserSettingsPos = {300, 200};      // AnalyserSettingsPos
    int32_t panelSize = 0;  // Panel Size in percent, 0 for Auto (kept after the other lines)
};

extern ProgramSettingsData ProgramSettings;

// Comment of the current setup (at most 255 characters).
extern char SetupComment[SetupCommentSize];
// Current setup file of each function: full path and the bare file name the
// title shows. Index 0 (no function) has no file.
extern char CurrentSetupPath[FunctionSlots][SetupPathSize];
extern char CurrentSetupTitle[FunctionSlots][SetupTitleSize];

// Back to the start-up values. For tests.
void ResetShellState();
