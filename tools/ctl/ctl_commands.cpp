#include "tools/ctl/ctl_commands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "app/dialog_rules.h"
#include "link/frame_receiver.h"
#include "link/host_encoder.h"
#include "link/link_state.h"
#include "link/user_change.h"
#include "model/param_tables.h"
#include "setup/setup_file.h"
#include "tools/ctl/capture_file.h"
#include "tools/ctl/console.h"
#include "tools/ctl/ctl_values.h"
#include "tools/ctl/setup_text.h"
#include "tools/ctl/unit_link.h"

namespace {

constexpr size_t SetupFileLimit = 1024 * 1024;
constexpr size_t ClosestNameCount = 3;
// Frames a request may take before the unit counts as not taking it: a
// store or recall is answered every third frame, the memory names walk
// through 16 frames, a recall is taken over for RecallSettleFrames.
constexpr uint64_t RequestFrameBudget = 60;
constexpr uint64_t NameFrameBudget = 40;
constexpr uint64_t BootFrameBudget = 120;
// Frames a batch of values may take: one per answer, sent again after a
// differing report, with room for frames spoilt on the line.
constexpr uint64_t ValueFrameBase = 60;
constexpr uint64_t ValueFramesEach = 8;
constexpr int WatchRefreshMs = 100;
constexpr int64_t MicrosPerMs = 1000;
constexpr int BootCodeDualMono = 1, BootCodeAnalyser = 2, BootCodeStereo = 3;
constexpr int BandWidthChars = 40;
// Analyser records: the type selection (how many bands), the level meters
// beside the bands (display ids 64 to 69), band b's bar (display id 2b).
constexpr int AnalyserTypeId = 33;
constexpr int AnalyserMeterFirstId = 64, AnalyserMeterLastId = 69;
constexpr int AnalyserBandTypes = static_cast<int>(std::size(AnalyserBandCounts));
// The store name goes to the unit in four chunks of three characters.
constexpr int StoreNameChunks = 4;
constexpr double BandFloorDb = -80.0;

void Say(const std::string& text) { std::fprintf(stderr, "qiv72ctl: %s\n", text.c_str()); }

std::string Join(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
    return out;
}

bool Flagged(const ParamDesc& p) { return (p.flags & (SendPending | JustSent | Resend)) != 0; }

// A value on its way to the unit: the record, and what the unit holds once
// it has taken the value (after the wire's rounding).
struct Target {
    ParamDesc* record;
    double wire;
};

class Ctl {
public:
    explicit Ctl(const CtlOptions& o) : o_(o) {}

    int Run() {
        const std::string& c = o_.command;
        if (c == "status") return Status();
        if (c == "get") return Get();
        if (c == "put") return Put();
        if (c == "set") return Set();
        if (c == "store") return Store();
        if (c == "recall") return Recall();
        if (c == "boot") return Boot();
        if (c == "watch") return Watch();
        if (c == "backup") return Backup();
        if (c == "restore") return Restore();
        if (c == "capture") return Capture();
        return ExitUsage;
    }

private:
    // --- The link --------------------------------------------------------

    int Fail(int code, const std::string& text) {
        Say(text);
        return code;
    }

    // Maps how a wait ended to an exit code; ExitDone when it held.
    int Outcome(LinkOutcome r, const std::string& what) {
        switch (r) {
            case LinkOutcome::Done: return ExitDone;
            case LinkOutcome::NoUnit:
            {
                char seconds[32];
                std::snprintf(seconds, sizeof seconds, "%.1f", o_.timeoutMs / 1000.0);
                return Fail(ExitNoUnit, "no unit answering on " + o_.port + " within " + seconds + " s");
            }
            case LinkOutcome::PortFailed: return Fail(ExitNoUnit, SerialErrorText(o_.port, link_.LastError()));
            case LinkOutcome::Interrupted: return Fail(InterruptExitCode, "interrupted");
            case LinkOutcome::GaveUp: return Fail(ExitNotTaken, "the unit did not " + what);
        }
        return ExitNotTaken;
    }

    int Wait(const std::function<bool()>& done, uint64_t maxFrames, const std::string& what) {
        return Outcome(link_.Run(done, maxFrames), what);
    }

    // Opens the port and waits for the unit's first frame, which the
    // table takes over as it is.
    int Connect() {
        SerialError e;
        if (link_.Open(o_.port, o_.timeoutMs, &e) != SerialResult::Ok) return Fail(ExitNoUnit, SerialErrorText(o_.port, e));
        return Wait([] { return Online != 0 && DeviceFunction != FunctionNone && TakeOverFrames == 0; }, 0,
                    "answer");
    }

    // The unit walks through its memory names one per frame. A name the
    // unit sends as NUL bytes never shows as reported: after two walks it
    // counts as empty.
    int WaitForMemoryNames() {
        const int count = MemoryCountFor(DeviceFunction);
        const uint64_t walksEnd = link_.Frames() + 2 * MemoryCount;
        return Wait(
            [this, count, walksEnd] {
                if (link_.Frames() >= walksEnd) return true;
                for (int m = 1; m <= count; ++m)
                    if (!MemoryNameReported(m)) return false;
                return true;
            },
            NameFrameBudget, "report its memory names");
    }

    // --- Values ----------------------------------------------------------

    // Sends what is marked and waits until the unit reports every target,
    // or until nothing is left to send and some value still differs.
    int SendAndConfirm(const std::vector<Target>& targets, const char* verb) {
        const int function = DeviceFunction;
        const bool progress = StderrIsTerminal();
        auto confirmed = [&targets] {
            size_t n = 0;
            for (const Target& t : targets) n += !Flagged(*t.record) && t.record->value == t.wire;
            return n;
        };
        auto settled = [&targets] {
            for (const Target& t : targets)
                if (Flagged(*t.record)) return false;
            return TransmitCount == 0 && TakeOverFrames == 0;
        };
        bool functionChanged = false;
        const int r = Wait(
            [&] {
                if (DeviceFunction != function) return functionChanged = true;
                const size_t n = confirmed();
                if (progress) std::fprintf(stderr, "\r%s: %zu of %zu values confirmed ", verb, n, targets.size());
                return n == targets.size() || settled();
            },
            ValueFrameBase + ValueFramesEach * targets.size(), "take every value");
        if (progress) std::fputs("\n", stderr);
        if (functionChanged) return Fail(ExitNotTaken, "the unit changed its function meanwhile");
        std::vector<std::string> refused;
        for (const Target& t : targets)
            if (Flagged(*t.record) || t.record->value != t.wire) refused.push_back(t.record->name);
        if (!refused.empty()) return Fail(ExitNotTaken, "the unit did not take: " + Join(refused));
        return r;
    }

    // A marked record goes out as the encoder sends it; the table holds that
    // value, so that the unit's report of it counts as equal.
    static Target Aim(int function, ParamDesc* record) {
        if (record->flags & SendPending) record->value = WireValue(function, *record, record->value);
        return {record, WireValue(function, *record, record->value)};
    }

    // Loads setup text into the running function and confirms it.
    int PutText(const std::string& text, const char* verb, std::string* comment) {
        const int function = DeviceFunction;
        ParamDesc* table = TableByNumber(function);
        const int count = TableRecordCount(function);
        const std::vector<const ParamDesc*> named = SetupEntriesNamed(text, table, count);
        const std::string c = LoadSetupText(text, table, count);
        if (comment != nullptr) *comment = c;
        std::vector<Target> targets;
        for (const ParamDesc* p : named)
            if (FindParamCommand(function, p->id) != nullptr) targets.push_back(Aim(function, const_cast<ParamDesc*>(p)));
        return SendAndConfirm(targets, verb);
    }

    // --- Commands --------------------------------------------------------

    int Status() {
        if (int r = Connect()) return r;
        if (int r = WaitForMemoryNames()) return r;
        const int function = DeviceFunction;
        const int memories = MemoryCountFor(function);
        const std::vector<ParamDesc*> settings = UnitSettingsOf(function);
        if (o_.json) {
            std::string out = "{\"function\":" + JsonString(FunctionName(function)) + ",\"online\":" +
                              (Online ? "true" : "false");
            if (memories > 0) {
                out += ",\"currentMemory\":" + std::to_string(CurrentMemory) + ",\"memories\":[";
                for (int m = 1; m <= memories; ++m)
                    out += (m > 1 ? "," : "") + std::string("{\"number\":") + std::to_string(m) +
                           ",\"name\":" + JsonString(ReportedMemoryName(m)) + "}";
                out += "]";
            }
            out += ",\"settings\":{";
            for (size_t i = 0; i < settings.size(); ++i)
                out += (i > 0 ? "," : "") + JsonString(settings[i]->name) + ":" + SettingJson(*settings[i]);
            std::printf("%s}}\n", out.c_str());
            return ExitDone;
        }
        std::printf("Function=%s\nLink=%s\n", FunctionName(function), Online ? "ONLINE" : "OFFLINE");
        if (memories > 0) {
            std::printf("Current Memory=%d\n", static_cast<int>(CurrentMemory));
            for (int m = 1; m <= memories; ++m) std::printf("Memory %d=%s\n", m, ReportedMemoryName(m).c_str());
        }
        for (const ParamDesc* p : settings) std::printf("%s=%s\n", p->name, SettingText(*p).c_str());
        return ExitDone;
    }

    int Get() {
        if (int r = Connect()) return r;
        const std::string path = WithSetupExtension(DeviceFunction, o_.args[0]);
        std::string error;
        if (!WriteFileReplacing(path, FormatSetupText(DeviceFunction, ""), &error)) return Fail(ExitUsage, error);
        std::printf("%s\n", path.c_str());
        return ExitDone;
    }

    int Put() {
        std::string text, error;
        if (!ReadWholeFile(o_.args[0], SetupFileLimit, &text, &error)) return Fail(ExitUsage, error);
        if (int r = Connect()) return r;
        const int function = DeviceFunction;
        const int fileFunction = SetupFunctionOfText(text);
        if (fileFunction != FunctionNone && fileFunction != function) {
            const std::vector<std::string> skipped =
                SetupNamesSkipped(text, TableByNumber(function), TableRecordCount(function));
            Say(o_.args[0] + " is a " + FunctionName(fileFunction) + " setup; the unit runs " +
                FunctionName(function) + ": loading the settings " + FunctionName(function) + " has" +
                (skipped.empty() ? "" : "; skipped: " + Join(skipped)));
        }
        return PutText(text, "put", nullptr);
    }

    int Set() {
        if (int r = Connect()) return r;
        const int function = DeviceFunction;
        // Every argument is checked before anything changes.
        std::vector<std::pair<ParamDesc*, double>> changes;
        for (const std::string& arg : o_.args) {
            const size_t eq = arg.find('=');
            if (eq == std::string::npos) return Fail(ExitUsage, "expected NAME=VALUE: " + arg);
            const std::string name = arg.substr(0, eq);
            ParamDesc* p = FindUnitSetting(function, name);
            if (p == nullptr)
                return Fail(ExitUsage, "the " + std::string(FunctionName(function)) + " function has no setting \"" +
                                           name + "\"; closest: " + Join(ClosestSettingNames(function, name, ClosestNameCount)));
            double v = 0.0;
            std::string why;
            if (!ParseSettingValue(*p, arg.substr(eq + 1), &v, &why))
                return Fail(ExitUsage, std::string(p->name) + " " + why + ": " + arg.substr(eq + 1));
            changes.emplace_back(p, v);
        }
        std::vector<Target> targets;
        for (auto& [p, v] : changes) {
            CommitUserValue(*p, v, SendHoldFrames);
            targets.push_back(Aim(function, p));
        }
        return SendAndConfirm(targets, "set");
    }

    // Memory number argument of the running function; 0 after a message.
    int MemoryArgument(const std::string& text) {
        const int count = MemoryCountFor(DeviceFunction);
        if (count == 0) {
            Say(std::string("the ") + FunctionName(DeviceFunction) + " function has no memories");
            return 0;
        }
        char* end = nullptr;
        const long n = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || n < 1 || n > count) {
            Say("memory numbers of the " + std::string(FunctionName(DeviceFunction)) + " function are 1 to " +
                std::to_string(count) + ": " + text);
            return 0;
        }
        return static_cast<int>(n);
    }

    int StoreAs(int memory, const std::string& name) {
        char storeName[StoreNameSize];
        if (BuildStoreName(name.c_str(), storeName) == StoreNameResult::TooLong || name.size() > StoreNameLetters)
            return Fail(ExitUsage, "Only 10 chars allowed.");
        StoreSlot = memory;
        std::memcpy(StoreName, storeName, sizeof storeName);
        StoreNameChunksLeft = StoreNameChunks;
        if (int r = Wait([] { return StoreSlot == 0 && StoreNameChunksLeft == 0; }, RequestFrameBudget, "take the store"))
            return r;
        // The unit reports the stored name when its walk through the
        // memories comes round; an older report does not count.
        MemoryNames[memory][0] = '\0';
        std::string expected = name;
        std::replace(expected.begin(), expected.end(), '@', ' ');
        while (!expected.empty() && expected.back() == ' ') expected.pop_back();
        return Wait([&] { return MemoryNameReported(memory) && ReportedMemoryName(memory) == expected; },
                    NameFrameBudget, "report the stored name of memory " + std::to_string(memory));
    }

    int RecallMemory(int memory) {
        RecallSlot = memory;
        return Wait([memory] { return RecallSlot == 0 && CurrentMemory == memory && TakeOverFrames == 0; },
                    RequestFrameBudget, "recall memory " + std::to_string(memory));
    }

    int Store() {
        if (int r = Connect()) return r;
        const int memory = MemoryArgument(o_.args[0]);
        return memory == 0 ? ExitUsage : StoreAs(memory, o_.args[1]);
    }

    int Recall() {
        if (int r = Connect()) return r;
        const int memory = MemoryArgument(o_.args[0]);
        return memory == 0 ? ExitUsage : RecallMemory(memory);
    }

    int Boot() {
        const int target = FunctionFromArgument(o_.args[0]);
        if (target == FunctionNone) return Fail(ExitUsage, "boot takes dual-mono, stereo or analyser: " + o_.args[0]);
        if (int r = Connect()) return r;
        if (DeviceFunction == target) return ExitDone;
        BootRequest = target == FunctionDualMono ? BootCodeDualMono
                      : target == FunctionAnalyser ? BootCodeAnalyser
                                                   : BootCodeStereo;
        return Wait([target] { return DeviceFunction == target && Online != 0 && TakeOverFrames == 0; },
                    BootFrameBudget, std::string("boot into ") + FunctionName(target));
    }

    // --- Watch -----------------------------------------------------------

    struct Meter {
        std::string name;
        const ParamDesc* record;
    };

    static std::vector<Meter> MetersOf(int function) {
        std::vector<Meter> out;
        std::map<std::string, int> used;
        auto add = [&](std::string name, const ParamDesc* p) {
            // Names the table gives twice: a level's peak marker beside its
            // bar, and a right channel's readout after the left one's.
            if (used[name]++ > 0) name += p->kind == ControlKind::PeakMarker ? " Peak" : " Right";
            out.push_back({name, p});
        };
        if (function == FunctionAnalyser) {
            static const char* const names[] = {"Quarter Left", "Level Left", "Level Right",
                                                "Quarter Right", "Level Left 2", "Level Right 2"};
            for (int id = AnalyserMeterFirstId; id <= AnalyserMeterLastId; ++id)
                add(names[id - AnalyserMeterFirstId], FindParam(TableAnalyserDisplay, id));
            return out;
        }
        const ParamDesc* table = TableByNumber(function);
        for (int i = 0; i < TableRecordCount(function); ++i) {
            const ControlKind k = table[i].kind;
            if (IsSavedKind(k) || k == ControlKind::None || k == ControlKind::Indicator || k == ControlKind::Scale ||
                k == ControlKind::Legend)
                continue;
            add(table[i].name, &table[i]);
        }
        return out;
    }

    static int BandCount() {
        const ParamDesc* type = FindParam(TableAnalyser, AnalyserTypeId);
        const int t = type != nullptr ? static_cast<int>(type->value) : 0;
        return t >= 0 && t < AnalyserBandTypes ? AnalyserBandCounts[t] : 0;
    }

    static double BandLevel(int band) {
        const ParamDesc* p = FindParam(TableAnalyserDisplay, 2 * band);
        return p != nullptr ? p->value : BandFloorDb;
    }

    static std::string Number(double v) {
        if (!std::isfinite(v)) return "null";
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", v);
        return text;
    }

    void PrintWatchJson(int function) {
        std::string out = "{\"frame\":" + std::to_string(link_.Frames()) + ",\"function\":" +
                           JsonString(FunctionName(function)) + ",\"meters\":{";
        const std::vector<Meter> meters = MetersOf(function);
        for (size_t i = 0; i < meters.size(); ++i)
            out += (i > 0 ? "," : "") + JsonString(meters[i].name) + ":" + Number(meters[i].record->value);
        out += "}";
        if (function == FunctionAnalyser) {
            out += ",\"bands\":[";
            for (int b = 0; b < BandCount(); ++b) out += (b > 0 ? "," : "") + Number(BandLevel(b));
            out += "]";
        }
        std::printf("%s}\n", out.c_str());
        std::fflush(stdout);
    }

    void PrintWatchText(int function, bool inPlace) {
        std::string out = inPlace ? "\x1b[H" : "";
        const char* clear = inPlace ? "\x1b[K\n" : "\n";
        out += std::string(FunctionName(function)) + "  " + (Online ? "ONLINE" : "OFFLINE") + "  frame " +
               std::to_string(link_.Frames()) + clear;
        for (const Meter& m : MetersOf(function)) {
            char line[96];
            std::snprintf(line, sizeof line, "%-28s %8s", m.name.c_str(), Number(m.record->value).c_str());
            out += line + std::string(clear);
        }
        for (int b = 0; function == FunctionAnalyser && b < BandCount(); ++b) {
            const double v = BandLevel(b);
            const double f = std::isfinite(v) ? std::clamp(1.0 - v / BandFloorDb, 0.0, 1.0) : 0.0;
            char line[96];
            std::snprintf(line, sizeof line, "Band %2d %7s ", b + 1, Number(v).c_str());
            out += line + std::string(static_cast<size_t>(f * BandWidthChars), '#') + clear;
        }
        if (inPlace) out += "\x1b[J";
        std::fputs(out.c_str(), stdout);
        std::fflush(stdout);
    }

    int Watch() {
        if (int r = Connect()) return r;
        const bool inPlace = !o_.json && EnableTerminalSequences();
        if (inPlace) std::fputs("\x1b[H\x1b[2J", stdout);
        const int64_t end = o_.seconds > 0.0 ? MonotonicMicros() + static_cast<int64_t>(o_.seconds * 1e6) : 0;
        int64_t nextText = 0;
        const LinkOutcome r = link_.Run([&] {
            const int64_t now = MonotonicMicros();
            if (o_.json) {
                PrintWatchJson(DeviceFunction);
            } else if (now >= nextText) {
                PrintWatchText(DeviceFunction, inPlace);
                nextText = now + WatchRefreshMs * MicrosPerMs;
            }
            return end != 0 && now >= end;
        });
        return r == LinkOutcome::Interrupted ? ExitDone : Outcome(r, "");
    }

    // --- Backup and restore ------------------------------------------------

    // The question before the recalls; ExitDone to go on.
    // Without a terminal to ask and without --yes: before the port is
    // even opened.
    int CanConfirm(const char* what) {
        if (o_.yes || StdinIsTerminal()) return ExitDone;
        return Fail(ExitUsage, std::string(what) + " recalls the unit's memories and the audio follows each "
                                                   "recall: give --yes to go on without a terminal to ask");
    }

    int Confirm(const char* what, int memories) {
        if (o_.yes) return ExitDone;
        std::fprintf(stderr, "%s recalls each of the %d memories in turn; the unit's audio follows every recall.\n"
                             "Go on? [y/N] ", what, memories);
        std::string answer;
        if (!std::getline(std::cin, answer) || (answer != "y" && answer != "Y" && answer != "yes"))
            return Fail(ExitUsage, "not confirmed");
        return ExitDone;
    }

    // Puts back the memory that was current and the setup that was live,
    // also after Ctrl+C (while a second Ctrl+C ends at once).
    int PutBack(int memory, const std::string& live, int result) {
        const bool interrupted = InterruptCount() > 0 || result == InterruptExitCode;
        ArmSecondInterruptEnds(true);
        if (interrupted) Say("interrupted: putting back the live setup (Ctrl+C again ends at once)");
        link_.SetInterruptible(false);
        int r = RecallMemory(memory);
        if (r == ExitDone) r = PutText(live, "putting back the live setup", nullptr);
        if (r != ExitDone) Say("the live setup may not be back: check the unit");
        if (interrupted) return InterruptExitCode;
        return result != ExitDone ? result : r;
    }

    std::string MemoryFileName(int memory, const std::string& name) const {
        char number[16];
        std::snprintf(number, sizeof number, "%02d ", memory);
        return number + FileSafeName(name) + SetupExtension(DeviceFunction);
    }

    int Backup() {
        if (int r = CanConfirm("backup")) return r;
        if (int r = Connect()) return r;
        const int memories = MemoryCountFor(DeviceFunction);
        if (memories == 0) return Fail(ExitUsage, "the Analyser has no memories to back up");
        if (int r = Confirm("backup", memories)) return r;
        ArmSecondInterruptEnds(true);
        if (int r = WaitForMemoryNames()) return r;
        std::error_code ec;
        std::filesystem::create_directories(o_.args[0], ec);
        if (ec) return Fail(ExitUsage, "cannot make " + o_.args[0] + ": " + ec.message());
        const int current = CurrentMemory;
        const std::string live = FormatSetupText(DeviceFunction, "");
        std::vector<std::string> names;
        for (int m = 1; m <= memories; ++m) names.push_back(ReportedMemoryName(m));
        int result = ExitDone;
        for (int m = 1; m <= memories && result == ExitDone; ++m) {
            if (StderrIsTerminal()) std::fprintf(stderr, "\rbackup: memory %d of %d ", m, memories);
            result = RecallMemory(m);
            if (result != ExitDone) break;
            const std::string path = (std::filesystem::path(o_.args[0]) / MemoryFileName(m, names[m - 1])).string();
            std::string error;
            if (!WriteFileReplacing(path, FormatSetupText(DeviceFunction, names[m - 1]), &error))
                result = Fail(ExitUsage, error);
        }
        if (StderrIsTerminal()) std::fputs("\n", stderr);
        return PutBack(current, live, result);
    }

    int Restore() {
        if (int r = CanConfirm("restore")) return r;
        if (int r = Connect()) return r;
        const int memories = MemoryCountFor(DeviceFunction);
        if (memories == 0) return Fail(ExitUsage, "the Analyser has no memories to restore");
        // The files first: numbered NN, of the running function.
        std::map<int, std::string> files;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(o_.args[0], ec)) {
            const std::string name = entry.path().filename().string();
            if (entry.path().extension() != SetupExtension(DeviceFunction) || name.size() < 3) continue;
            char* end = nullptr;
            const long m = std::strtol(name.c_str(), &end, 10);
            if (end == name.c_str() || *end != ' ' || m < 1 || m > memories) continue;
            files[static_cast<int>(m)] = entry.path().string();
        }
        if (ec) return Fail(ExitUsage, "cannot read " + o_.args[0] + ": " + ec.message());
        if (files.empty())
            return Fail(ExitUsage, "no \"NN NAME" + std::string(SetupExtension(DeviceFunction)) + "\" files in " + o_.args[0]);
        std::map<int, std::string> texts;
        for (const auto& [m, path] : files) {
            std::string error;
            if (!ReadWholeFile(path, SetupFileLimit, &texts[m], &error)) return Fail(ExitUsage, error);
            // Every name is checked before the first memory changes.
            char storeName[StoreNameSize];
            const std::string name = SetupCommentOf(texts[m], DeviceFunction);
            if (name.size() > StoreNameLetters || BuildStoreName(name.c_str(), storeName) == StoreNameResult::TooLong)
                return Fail(ExitUsage, path + ": the comment \"" + name + "\" is no memory name (10 characters at most)");
        }
        if (int r = Confirm("restore", static_cast<int>(files.size()))) return r;
        ArmSecondInterruptEnds(true);
        const int current = CurrentMemory;
        const std::string live = FormatSetupText(DeviceFunction, "");
        int result = ExitDone;
        for (const auto& [m, text] : texts) {
            if (StderrIsTerminal()) std::fprintf(stderr, "\rrestore: memory %d ", m);
            std::string comment;
            result = PutText(text, "restore", &comment);
            if (result == ExitDone) result = StoreAs(m, comment);
            if (result != ExitDone) break;
        }
        if (StderrIsTerminal()) std::fputs("\n", stderr);
        return PutBack(current, live, result);
    }

    // --- Capture ---------------------------------------------------------

    int Capture() {
        std::FILE* f = std::fopen((o_.args[0] + ".part").c_str(), "wb");
        if (f == nullptr) return Fail(ExitUsage, "cannot write " + o_.args[0] + ".part");
        std::string header = std::string(CaptureHeader) + "\n# port " + o_.port + "\n";
        std::fputs(header.c_str(), f);
        link_.SetByteSink([f](const uint8_t* bytes, size_t count, int64_t micros) {
            const std::string line = FormatCaptureChunk(micros, bytes, count);
            std::fwrite(line.data(), 1, line.size(), f);
        });
        int r = Connect();
        if (r == ExitDone) r = Outcome(link_.Run(nullptr, 0, static_cast<int64_t>(o_.seconds * 1000.0)), "");
        link_.SetByteSink(nullptr);
        const bool closed = std::fclose(f) == 0;
        std::error_code ec;
        if (r == ExitDone && closed) std::filesystem::rename(o_.args[0] + ".part", o_.args[0], ec);
        if (r != ExitDone || !closed || ec) {
            std::filesystem::remove(o_.args[0] + ".part", ec);
            return r != ExitDone ? r : Fail(ExitUsage, "cannot write " + o_.args[0]);
        }
        std::fprintf(stderr, "qiv72ctl: %llu frames captured\n", static_cast<unsigned long long>(link_.Frames()));
        return ExitDone;
    }

    const CtlOptions& o_;
    UnitLink link_;
};

}  // namespace

int RunCtlCommand(const CtlOptions& options) {
    Ctl ctl(options);
    return ctl.Run();
}
