// QEN72.INI as users edit it by hand: any bytes, in chunks of varying size.
// The port name must stay a terminated name of at most 7 characters, the help
// language 0 or 1, and analyser values inside their limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/settings_file.h"
#include "app/shell_state.h"
#include "fuzz/fuzz_support.h"
#include "model/param_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzResetTables();
    ResetShellState();
    if (size == 0) return 0;
    const size_t chunk = 1 + data[0] % 97;
    ++data;
    --size;

    ProgramSettingsData settings;
    static SettingsReader reader;
    BeginSettingsRead(reader);
    for (size_t at = 0; at < size; at += chunk)
        FeedSettingsText(reader, reinterpret_cast<const char*>(data) + at, size - at < chunk ? size - at : chunk,
                         settings);
    EndSettingsRead(reader, settings);

    if (std::memchr(settings.portName, 0, PortNameSize) == nullptr) std::abort();
    if (std::strlen(settings.portName) > 7) std::abort();
    if (settings.helpLanguage != 0 && settings.helpLanguage != 1) std::abort();
    for (const ParamDesc& r : AnalyserTable)
        if ((r.flags & SendPending) && !(r.value >= r.min && r.value <= r.max)) std::abort();

    static char text[SettingsTextCapacity];
    if (FormatSettingsFile(settings, text, sizeof text) == 0) std::abort();
    FuzzCheckInvariants();
    return 0;
}
