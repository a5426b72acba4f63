// The analyser settings window's rules, without the platform: its fixed
// names and sizes, what F2 does in each state, and what the window's end
// leaves behind (its position for the next one and the settings file, and
// the display freeze released as the unit's own report would release it).
// The window itself is panel/analyser_settings_win32.
#pragma once

#include <cstdint>

#include "model/screen_geometry.h"

inline constexpr char AnalyserSettingsClassName[] = "ANASetClass";
inline constexpr char AnalyserSettingsTitle[] = "QIV-72 Audio Analyser Settings";
// The client area: the analyser settings panel bitmap.
inline constexpr int32_t AnalyserSettingsClientWidth = 524;
inline constexpr int32_t AnalyserSettingsClientHeight = 141;
// The window is created for this client height with a menu bar counted, and
// fitted to the panel right after it is shown.
inline constexpr int32_t AnalyserSettingsCreateHeight = 138;

// What the "Analyser Settings" command does.
enum class AnalyserSettingsAction {
    Nothing,  // no window and the unit does not run the Analyser
    Create,   // create the window, then show and fit it
    Raise,    // a window exists: show it again and fit it
};
AnalyserSettingsAction AnalyserSettingsCommand(int deviceFunction, bool windowOpen);

// The end of the window, whose outer top-left corner was at (left, top):
// the corner goes into `kept` (AnalyserSettingsPos: where the next window
// opens; the settings file keeps it), and "Analyser Freeze" gets 0 by the rule for a
// setting the unit reports, so that it is switched off unless a change of it
// is on its way (then it is sent again while the transmission count runs).
void AnalyserSettingsClosed(ScreenPoint& kept, int32_t left, int32_t top);
