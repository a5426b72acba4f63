// Host frame encoding: the one answer the program may give to each valid
// device frame, carrying a store, recall or boot request or the first
// parameter the user changed, then an end-of-changes mark.
#pragma once

#include <cstdint>

struct ParamDesc;

inline constexpr int HostFrameSize = 8;
// Frames taken over as they are after a recall goes out.
inline constexpr int RecallSettleFrames = 5;
// TransmitCount is at least this after a changed value goes out the first
// time (the hold of a change on the panel).
inline constexpr int SendHoldFrames = 5;

struct HostFrame {
    uint8_t bytes[HostFrameSize];  // "QEN", command, three value bytes, checksum
};

enum HostCommand : uint8_t {
    CmdSwitches = 0,
    CmdStoreNameChunk0 = 128,  // chunk k is 128 + 3k
    CmdEndOfChanges = 240,
    CmdNone = 255,
};

// Command numbers of the device requests per function (0 where the function
// has none). Index: DeviceFunction 1 to 3.
struct DeviceRequestCommands {
    int store, recall, boot;
};
DeviceRequestCommands RequestCommandsFor(int function);

// How a parameter's value goes into the three value bytes.
enum class Encoding { Byte, TenthsByte, TenthsWord, Signed24, Switch };

struct ParamCommand {
    int id;
    int command;  // -1: the function has no such record
    Encoding encoding;
    uint32_t switchMask;
};

// The command of record `id` in a function (1 to 3), or null when it has no
// command there.
const ParamCommand* FindParamCommand(int function, int id);

// Byte 7 of a host frame: bytes 3 to 7 add up to a multiple of 256.
uint8_t HostChecksum(const uint8_t* frame);

// The frame being built for the current answer.
extern HostFrame Reply;
extern int32_t CommandQueued;

void BuildAndSendReply();
// Sets or clears the record's bits in SwitchWord and fills the frame with
// the word. Switches of the current function that are marked or sent but not
// yet confirmed go out with the program's value; the others as the unit last
// reported them.
void EncodeSwitch(const ParamDesc& record, uint32_t mask);
void RequestParamChange(double value, int id, int table);

// The value bytes of an encoding (switches excluded). Tenths round to the
// nearest integer; byte and signed 24 truncate toward zero.
void EncodeValueBytes(Encoding encoding, double v, uint8_t out[3]);
