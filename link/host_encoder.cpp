// Encoders of the answers for Dual Mono, Stereo and the Analyser.
#include "link/host_encoder.h"

#include <cmath>
#include <cstring>

#include "link/frame_layout.h"
#include "link/link_seams.h"
#include "link/link_state.h"
#include "link/user_change.h"
#include "model/param_tables.h"

HostFrame Reply = {};
int32_t CommandQueued = 0;

namespace {

using E = Encoding;

// Dual Mono and Stereo commands by id; -1 where Stereo lacks the record.
struct TwoFunctionCommand {
    int id;
    int dualMono;
    int stereo;
    Encoding encoding;
    uint32_t mask;
};

constexpr TwoFunctionCommand MainCommands[] = {
    {0, 2, 2, E::Byte, 0},           {1, 0, 0, E::Switch, 0x40},
    {2, 4, 4, E::Byte, 0},           {3, 0, 0, E::Switch, 0x80},
    {4, 0, 0, E::Switch, 0x800},     {5, 0, 0, E::Switch, 0x30},
    {6, 7, 7, E::Byte, 0},           {7, 8, -1, E::Byte, 0},
    {8, 0, 0, E::Switch, 0x6},       {9, 9, 8, E::Signed24, 0},
    {10, 10, 9, E::TenthsByte, 0},   {11, 11, 10, E::TenthsByte, 0},
    {13, 12, -1, E::Signed24, 0},    {14, 13, -1, E::TenthsByte, 0},
    {15, 14, -1, E::TenthsByte, 0},  {17, 0, 0, E::Switch, 0x8},
    {18, 0, 0, E::Switch, 0x300},    {19, 17, 13, E::Byte, 0},
    {20, 18, -1, E::Byte, 0},        {21, 0, 0, E::Switch, 0x3000},
    {22, 19, 14, E::TenthsWord, 0},  {23, 20, 15, E::TenthsWord, 0},
    {24, 0, 0, E::Switch, 0xC0000},  {25, 22, 17, E::TenthsByte, 0},
    {26, 23, 18, E::TenthsByte, 0},  {27, 24, 19, E::Signed24, 0},
    {29, 25, -1, E::TenthsByte, 0},  {30, 26, -1, E::TenthsByte, 0},
    {31, 27, -1, E::Signed24, 0},    {33, 0, 0, E::Switch, 0x100000},
    {34, 0, 0, E::Switch, 0xC000},   {35, 28, 20, E::Byte, 0},
    {36, 30, 22, E::TenthsByte, 0},  {38, 31, -1, E::Byte, 0},
    {39, 33, -1, E::TenthsByte, 0},  {41, 0, -1, E::Switch, 0x10000},
    {52, 0, 0, E::Switch, 0x20000},  {53, 40, 28, E::TenthsByte, 0},
    {54, 41, 29, E::Byte, 0},        {55, 36, 24, E::Byte, 0},
    {56, 35, 23, E::Byte, 0},        {57, 37, 25, E::Byte, 0},
    {58, 38, 26, E::Byte, 0},        {61, 0, 0, E::Switch, 0x1},
    {62, 29, 21, E::Byte, 0},        {63, 32, -1, E::Byte, 0},
    {65, 0, 0, E::Switch, 0x200000}, {66, 15, 11, E::Byte, 0},
};

constexpr ParamCommand AnalyserCommands[] = {
    {0, 2, E::Byte, 0},          {1, 0, E::Switch, 0x40},     {2, 4, E::Byte, 0},
    {3, 0, E::Switch, 0x80},     {4, 0, E::Switch, 0x800},    {33, 7, E::Byte, 0},
    {34, 8, E::Byte, 0},         {35, 10, E::Byte, 0},        {36, 11, E::TenthsByte, 0},
    {38, 9, E::Byte, 0},         {52, 0, E::Switch, 0x20000}, {53, 17, E::TenthsByte, 0},
    {54, 18, E::Byte, 0},        {55, 13, E::Byte, 0},        {56, 12, E::Byte, 0},
    {57, 14, E::Byte, 0},        {58, 15, E::Byte, 0},        {61, 0, E::Switch, 0x1},
    {65, 0, E::Switch, 0x200000},
};

// Per-id lookup tables, built from the lists above on first use.
struct CommandIndex {
    ParamCommand byId[3][IdSlots];
    bool built;
};
CommandIndex Commands = {};

void BuildCommandIndex() {
    for (auto& perFunction : Commands.byId)
        for (int id = 0; id < IdSlots; ++id) perFunction[id] = {id, -1, E::Byte, 0};
    for (const TwoFunctionCommand& c : MainCommands) {
        Commands.byId[0][c.id] = {c.id, c.dualMono, c.encoding, c.mask};
        Commands.byId[1][c.id] = {c.id, c.stereo, c.encoding, c.mask};
    }
    for (const ParamCommand& c : AnalyserCommands) Commands.byId[2][c.id] = c;
    Commands.built = true;
}

// Integer part toward zero, kept inside the 32-bit range so that a value
// far outside the limits (a hand-edited file) cannot overflow.
int64_t TruncSafe(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483648LL;
    return static_cast<int64_t>(v);
}

int64_t RoundSafe(double v) {
    if (std::isnan(v)) return 0;
    return TruncSafe(std::round(v));
}

void SetCommand(int command) {
    Reply.bytes[3] = static_cast<uint8_t>(command);
    CommandQueued = 1;
    EndMarkDue = 1;
}

void EncodeRecord(const ParamDesc& record, int function) {
    const ParamCommand* c = FindParamCommand(function, record.id);
    if (c == nullptr) return;  // command 255 with zero value bytes
    if (c->encoding == E::Switch) {
        EncodeSwitch(record, c->switchMask);
        return;
    }
    Reply.bytes[3] = static_cast<uint8_t>(c->command);
    EncodeValueBytes(c->encoding, record.value, &Reply.bytes[4]);
}

bool ServeRequests(const DeviceRequestCommands& cmds) {
    if (StoreSlot != 0 && cmds.store != 0) {
        if (StoreNameChunksLeft > 0) {
            // The store dialog sets 4 chunks; a larger count must not reach
            // past the 12-character name.
            int k = --StoreNameChunksLeft;
            if (k > 3) k = 3;
            const int first = 3 * k;
            SetCommand(CmdStoreNameChunk0 + first);
            Reply.bytes[4] = static_cast<uint8_t>(StoreName[first]);
            Reply.bytes[5] = static_cast<uint8_t>(StoreName[first + 1]);
            Reply.bytes[6] = static_cast<uint8_t>(StoreName[first + 2]);
        } else {
            SetCommand(cmds.store);
            Reply.bytes[4] = static_cast<uint8_t>(StoreSlot);
            StoreSlot = 0;
        }
    }
    if (RecallSlot != 0 && cmds.recall != 0 && !CommandQueued) {
        SetCommand(cmds.recall);
        Reply.bytes[4] = static_cast<uint8_t>(RecallSlot);
        RecallSlot = 0;
        // The unit now runs the recalled setup: its reports are to be taken
        // over, not pushed back as differing settings while the count of a
        // recent change, or one made right after, still runs. The unit shows
        // the recalled setup in the frame after next, or later when frames
        // were read late. Values still marked follow the recall.
        TransmitCount = 0;
        TakeOverFrames = RecallSettleFrames;
        // Values sent before the recall are superseded by it.
        ParamDesc* table = TableByNumber(DeviceFunction);
        for (int i = 0; i < TableRecordCount(DeviceFunction); ++i) table[i].flags &= ~JustSent;
    }
    if (BootRequest != 0 && !CommandQueued) {
        SetCommand(cmds.boot);
        Reply.bytes[4] = static_cast<uint8_t>(BootRequest - 1);
        BootRequest = 0;
    }
    return CommandQueued != 0;
}

// Sends the first marked record and clears JustSent on the records the walk
// passes. The record is encoded before those lose JustSent, so that a switch
// command still knows which switches went out in the answers before.
void SendFirstPending(ParamDesc* table, int count, int function) {
    int first = 0;
    while (first < count && !(table[first].flags & SendPending)) ++first;
    if (first < count) {
        CommandQueued = 1;
        EndMarkDue = 1;
        EncodeRecord(table[first], function);
    }
    for (int i = 0; i < first && i < count; ++i) table[i].flags &= ~JustSent;
    if (first == count) return;
    ParamDesc& r = table[first];
    // The first time a changed value goes out it gets the answers of a
    // change on the panel after it, whatever the count was (run down by the
    // values sent before it, by request answers, cleared by the watchdog,
    // set lower by a later change): the unit reports it only in the frame
    // after next, and until then its reports must bring the value back, not
    // replace it; a lost frame must be sent again. Values sent again after a
    // differing report (Resend) keep the count as it is, so that a value the
    // unit does not take is given up once the count has run out.
    if (!(r.flags & Resend) && TransmitCount < SendHoldFrames) TransmitCount = SendHoldFrames;
    r.flags &= ~(SendPending | Resend);
    r.flags |= JustSent;
}

// On exactly as the panel draws it, so that a value of 0.5 (a hand-edited
// file) is off on the panel and at the unit alike.
void SetSwitchBits(double value, uint32_t mask) {
    if (IsOn(value))
        SwitchWord |= mask;
    else
        SwitchWord &= ~mask;
}

}  // namespace

DeviceRequestCommands RequestCommandsFor(int function) {
    switch (function) {
        case FunctionDualMono: return {43, 44, 45};
        case FunctionStereo: return {31, 32, 33};
        case FunctionAnalyser: return {0, 0, 20};
        default: return {0, 0, 0};
    }
}

const ParamCommand* FindParamCommand(int function, int id) {
    if (function < FunctionDualMono || function > FunctionAnalyser) return nullptr;
    if (id < 0 || id >= IdSlots) return nullptr;
    if (!Commands.built) BuildCommandIndex();
    const ParamCommand& c = Commands.byId[function - 1][id];
    return c.command < 0 ? nullptr : &c;
}

uint8_t HostChecksum(const uint8_t* frame) {
    const unsigned sum = frame[3] + frame[4] + frame[5] + frame[6];
    return static_cast<uint8_t>(0u - sum);
}

void EncodeValueBytes(Encoding encoding, double v, uint8_t out[3]) {
    out[0] = out[1] = out[2] = 0;
    switch (encoding) {
        case E::Byte:
            out[0] = static_cast<uint8_t>(TruncSafe(v) & 0xFF);
            break;
        case E::TenthsByte:
            out[0] = static_cast<uint8_t>(RoundSafe(v * 10.0) & 0xFF);
            break;
        case E::TenthsWord: {
            const int64_t n = RoundSafe(v * 10.0);
            out[0] = static_cast<uint8_t>(n & 0xFF);
            out[1] = static_cast<uint8_t>((n >> 8) & 0xFF);
            break;
        }
        case E::Signed24: {
            const int64_t n = TruncSafe(v);
            out[0] = static_cast<uint8_t>(n & 0xFF);
            out[1] = static_cast<uint8_t>((n >> 8) & 0xFF);
            out[2] = static_cast<uint8_t>((n >> 16) & 0xFF);
            break;
        }
        case E::Switch:
            break;
    }
}

void EncodeSwitch(const ParamDesc& record, uint32_t mask) {
    // The other switches go out as the unit last reported them, except those
    // the program is sending itself (marked, or sent and not yet confirmed):
    // the unit's next frame is already on the wire when an answer arrives, so
    // its last switch word may predate the switch command of the answer
    // before, and sending that word back would switch it back again.
    const int function = DeviceFunction;
    const SwitchBit* bits = function == FunctionAnalyser ? AnalyserSwitches : DualMonoSwitches;
    const size_t n = function == FunctionAnalyser ? sizeof AnalyserSwitches / sizeof AnalyserSwitches[0]
                                                  : sizeof DualMonoSwitches / sizeof DualMonoSwitches[0];
    for (size_t k = 0; k < n; ++k) {
        const ParamDesc* p = FindParam(function, bits[k].id);
        if (p == nullptr || !(p->flags & (SendPending | JustSent))) continue;
        const bool reportedOn = (SwitchWord & bits[k].mask) != 0;
        if (reportedOn != IsOn(p->value)) SetSwitchBits(p->value, bits[k].mask);
    }
    SetSwitchBits(record.value, mask);
    SwitchWord &= 0xFFFFFFu;
    Reply.bytes[3] = CmdSwitches;
    Reply.bytes[4] = static_cast<uint8_t>(SwitchWord & 0xFF);
    Reply.bytes[5] = static_cast<uint8_t>((SwitchWord >> 8) & 0xFF);
    Reply.bytes[6] = static_cast<uint8_t>((SwitchWord >> 16) & 0xFF);
}

void BuildAndSendReply() {
    CommandQueued = 0;
    Reply = {{'Q', 'E', 'N', CmdNone, 0, 0, 0, 0}};

    // Store and recall exist only in Dual Mono and Stereo (the Analyser has
    // no command for them); a request waits there untouched. While the unit
    // settles after a recall, marked values wait: its frames do not show the
    // recalled setup yet, and a switch command built on their switch word
    // would switch recalled switches back.
    const int function = DeviceFunction;
    if (function >= FunctionDualMono && function <= FunctionAnalyser &&
        !ServeRequests(RequestCommandsFor(function)) && TakeOverFrames == 0)
        SendFirstPending(TableByNumber(function), TableRecordCount(function), function);

    if (CommandQueued) {
        Reply.bytes[7] = HostChecksum(Reply.bytes);
        PortWrite(Reply.bytes, HostFrameSize);
    } else if (EndMarkDue) {
        Reply.bytes[3] = CmdEndOfChanges;
        Reply.bytes[7] = HostChecksum(Reply.bytes);
        PortWrite(Reply.bytes, HostFrameSize);
        EndMarkDue = 0;
    }
}

void RequestParamChange(double value, int id, int table) {
    ParamDesc* p = FindParam(table, id);
    if (p != nullptr) ApplyUserChange(*p, value, RaiseHoldByOne, SetupEffect::KeepState);
}
