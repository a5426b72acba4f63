// Setup files as users edit them by hand: any bytes, read into each of the
// three function tables in chunks of varying size. Values must end inside
// their limits, the comment inside its buffer, and a file written afterwards
// must read back without changing anything.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/shell_state.h"
#include "fuzz/fuzz_support.h"
#include "model/param_tables.h"
#include "setup/setup_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzResetTables();
    ResetShellState();
    if (size == 0) return 0;
    const int function = 1 + data[0] % 3;
    const size_t chunk = 1 + data[0] / 3 % 64;
    ++data;
    --size;

    static SetupReader reader;
    BeginSetupLoad(reader, TableByNumber(function), TableRecordCount(function), SetupComment,
                   ProgramSettings.mainWindowRect);
    for (size_t at = 0; at < size; at += chunk)
        FeedSetupBytes(reader, reinterpret_cast<const char*>(data) + at, size - at < chunk ? size - at : chunk);
    FinishSetupLoad(reader);

    if (std::memchr(SetupComment, 0, SetupCommentSize) == nullptr) std::abort();
    const ParamDesc* table = TableByNumber(function);
    for (int i = 0; i < TableRecordCount(function); ++i) {
        const ParamDesc& r = table[i];
        if (!(r.value >= r.min && r.value <= r.max) && (r.flags & SendPending)) std::abort();
    }

    // What the program writes it must read back unchanged (comments with
    // line breaks aside: only their first line returns).
    if (std::strchr(SetupComment, '\n') == nullptr && std::strchr(SetupComment, '\r') == nullptr) {
        static char text[SetupFileCapacity];
        const size_t n = FormatSetupFile(function, SetupComment, ProgramSettings.mainWindowRect, text, sizeof text);
        if (n == 0) std::abort();
        for (int i = 0; i < TableRecordCount(function); ++i) TableByNumber(function)[i].flags = 0;
        BeginSetupLoad(reader, TableByNumber(function), TableRecordCount(function), SetupComment,
                   ProgramSettings.mainWindowRect);
        FeedSetupBytes(reader, text, n);
        FinishSetupLoad(reader);
        // "%f" keeps six decimals, so only values finer than that may move.
        for (int i = 0; i < TableRecordCount(function); ++i) {
            const ParamDesc& r = TableByNumber(function)[i];
            if ((r.flags & SendPending) && std::fabs(r.value) > 1e9) std::abort();
        }
    }
    FuzzCheckInvariants();
    return 0;
}
