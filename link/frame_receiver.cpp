// Byte-level frame receiver and the per-frame sequence.
#include "link/frame_receiver.h"

#include <cstring>

#include "link/frame_decoder.h"
#include "link/frame_layout.h"
#include "link/host_encoder.h"
#include "link/link_seams.h"
#include "link/link_state.h"
#include "model/param_tables.h"

FrameReceiverState FrameReceiver = {};

namespace {

// Values sent in answers the unit may never have acted on (the link was
// lost, or the unit rebooted into another function and ignored them) are
// marked for sending again: the watchdog has cleared TransmitCount, so
// nothing else would send them again, and the unit's old value would be
// taken over.
void MarkUnconfirmedForSending() {
    for (int t = TableDualMono; t <= TableAnalyser; ++t) {
        ParamDesc* table = TableByNumber(t);
        for (int i = 0; i < TableRecordCount(t); ++i) {
            if (!(table[i].flags & JustSent)) continue;
            table[i].flags &= ~JustSent;
            table[i].flags |= SendPending;
        }
    }
}

void DecodeFrame() {
    switch (DeviceFunction) {
        case FunctionDualMono:
            DecodeDualMonoOrStereo(TableDualMono);
            break;
        case FunctionStereo:
            DecodeDualMonoOrStereo(TableStereo);
            break;
        case FunctionAnalyser:
            DecodeAnalyser();
            break;
        default:
            break;
    }
}

}  // namespace

int ReceiveFromPort() {
    uint8_t buffer[PortReadChunk];
    const int got = PortRead(buffer, PortReadChunk);
    if (got <= 0) return 0;
    const int n = got > PortReadChunk ? PortReadChunk : got;
    for (int i = 0; i < n; ++i) ReceiveByte(buffer[i]);
    return n;
}

void ReceiveByte(uint8_t b) {
    FrameReceiverState& r = FrameReceiver;
    r.syncHistory[3] = r.syncHistory[2];
    r.syncHistory[2] = r.syncHistory[1];
    r.syncHistory[1] = r.syncHistory[0];
    r.syncHistory[0] = b;

    // The sync text is compared newest byte first, so the wire carries it
    // backwards: "6387" arrives as '7', '8', '3', '6'.
    for (const SyncWord& s : SyncWords) {
        if (r.syncHistory[3] == s.bytes[0] && r.syncHistory[2] == s.bytes[1] &&
            r.syncHistory[1] == s.bytes[2] && r.syncHistory[0] == s.bytes[3]) {
            r.collectedCount = 0;
            r.frameSum = 0;
            DeviceFunction = s.function;
            r.expectedCount = s.collect;
            break;
        }
    }

    if (r.collectedCount >= MaxCollected) return;  // full until the next sync word
    const int k = ++r.collectedCount;
    r.collectedBytes[k] = b;

    if (r.expectedCount == 0) return;  // no sync word seen yet

    // Collected byte 4j + 5 is the pad byte of word j + 1, whose value bytes
    // are collected bytes 4j + 2 to 4j + 4. Data words only: not word 0 and
    // not the checksum word.
    if (k > 4 && (k - 5) % 4 == 0 && k < r.expectedCount - 2) {
        r.frameSum += r.collectedBytes[k - 3] | (r.collectedBytes[k - 2] << 8) |
                      (static_cast<uint32_t>(r.collectedBytes[k - 1]) << 16);
    }

    if (k != r.expectedCount) return;
    const int e = r.expectedCount;
    const uint32_t received = r.collectedBytes[e - 2] | (r.collectedBytes[e - 1] << 8) |
                              (static_cast<uint32_t>(r.collectedBytes[e]) << 16);
    uint32_t v0 = 0;
    for (const SyncWord& s : SyncWords)
        if (s.function == DeviceFunction) v0 = s.value;
    r.frameSum = (r.frameSum + v0) & 0xFFFFFFu;
    if (r.frameSum == received) HandleDeviceFrame();
}

void HandleDeviceFrame() {
    SilenceTicks = 0;
    // The first frame after a link loss or a change of function: the unit
    // may not have acted on what was sent before, the switch word in hand
    // belongs to an older frame or another function, and the table may hold
    // values that are not this unit's (Stereo frames fill the Dual Mono
    // table's right-channel settings; the unit may have changed meanwhile).
    const bool fresh = Online == 0 || FrameReceiver.lastFunction != DeviceFunction;
    FrameReceiver.lastFunction = DeviceFunction;
    Online = 1;
    if (fresh) {
        MarkUnconfirmedForSending();
        SwitchWord = FrameWord(DeviceFunction == FunctionAnalyser ? AnaWordSwitches : WordSwitches);
    }

    // While a store or recall waits in Dual Mono or Stereo, only every third
    // frame is answered, which gives the unit time to act on it.
    const bool answer = ReplyGate > 1 || (StoreSlot == 0 && RecallSlot == 0) ||
                        DeviceFunction == FunctionAnalyser;
    if (answer) {
        // Answers to frames that are taken over as they are do not count:
        // nothing is pushed back then, so a change sent meanwhile keeps its
        // answers for being checked and sent again.
        if (TransmitCount > 0 && TakeOverFrames == 0) --TransmitCount;
        BuildAndSendReply();
        ReplyGate = 0;
    } else {
        ++ReplyGate;
    }

    // A fresh frame, and the frames after a recall, are taken over as they
    // are: pushing the table's values back would send values the unit never
    // had, or undo the recall. Marked records still wait.
    if (fresh && TakeOverFrames < 1) TakeOverFrames = 1;
    if (TakeOverFrames > 0) {
        --TakeOverFrames;
        const int32_t hold = TransmitCount;
        TransmitCount = 0;
        DecodeFrame();
        TransmitCount = hold;
    } else {
        DecodeFrame();
    }

    RequestFunctionRedraw();
    UpdateWindowTitle();
}

void RequestFunctionRedraw() {
    switch (DeviceFunction) {
        case FunctionDualMono:
            RequestPanelRedraw(PanelTarget::MainWindow, DualMonoTable, DualMonoCount, 0);
            break;
        case FunctionStereo:
            RequestPanelRedraw(PanelTarget::MainWindow, StereoTable, StereoCount, 0);
            break;
        case FunctionAnalyser:
            RequestPanelRedraw(PanelTarget::AnalyserSettingsWindow, AnalyserTable, AnalyserCount, 2);
            RequestPanelRedraw(PanelTarget::MainWindow, AnalyserDisplayTable, AnalyserDisplayCount, 3);
            break;
        default:
            break;
    }
}

uint8_t FrameByte(int offset) {
    if (offset >= 3) {
        const int k = offset - 2;
        return k <= MaxCollected ? FrameReceiver.collectedBytes[k] : 0;
    }
    if (offset < 0) return 0;
    for (const SyncWord& s : SyncWords)
        if (s.function == DeviceFunction) return s.bytes[offset];
    return 0;
}

uint8_t FrameValueByte(int w, int i) { return FrameByte(4 * w + i); }

uint32_t FrameWord(int w) {
    return FrameValueByte(w, 0) | (FrameValueByte(w, 1) << 8) |
           (static_cast<uint32_t>(FrameValueByte(w, 2)) << 16);
}

int32_t FrameSignedWord(int w) {
    const uint32_t v = FrameWord(w);
    return v >= 0x800000u ? static_cast<int32_t>(v) - 0x1000000 : static_cast<int32_t>(v);
}
