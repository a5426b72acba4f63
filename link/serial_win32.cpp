// Serial link on Win32 overlapped I/O, and the port's event thread.
#include "link/serial_win32.h"

#include <atomic>
#include <cstdint>

#include "link/link_seams.h"
#include "link/link_state.h"
#include "win32/win32_handles.h"

namespace {

constexpr DWORD InputQueueBytes = 8192;
constexpr DWORD OutputQueueBytes = 4 * 1024;
constexpr DWORD ConnectSettleMs = 200;
// How often the event thread looks at an empty input queue when the port's
// comm-event waits do not block: at 38400 baud some 31 bytes arrive
// meanwhile, far below the queue's size and a frame's length.
constexpr DWORD PollIdleMs = 8;
constexpr DWORD PurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

constexpr char PortNotAvailableText[] =
    "Selected COM-Port is not available.\nCheck setup or stop other applications\n using this port!";

struct SerialLink {
    // The open port. Opened, read, written and closed by the main thread.
    // The event thread waits on it and asks for its queue length while it
    // runs; Disconnect closes it only after the thread has ended.
    UniqueHandle port;
    // Written by the main thread (set by OpenPort, cleared by Disconnect),
    // read by the event thread, which runs while it is set.
    std::atomic<int32_t> linkEnabled{0};
    // Set by Disconnect to end the event thread's wait; reset by Connect
    // before the thread starts. Created once by the main thread.
    UniqueHandle stopEvent;
    // Written by the main thread before the event thread starts, then only
    // read by the thread.
    HWND window = nullptr;
    // Main thread only: the event thread's handle, to wait for its end.
    UniqueHandle thread;
    // Main thread only: the asynchronous read and write requests and their
    // completion events.
    OVERLAPPED readRequest = {};
    OVERLAPPED writeRequest = {};
    UniqueHandle readEvent;
    UniqueHandle writeEvent;
    // Event thread only: its comm-event request and the event mask. Kept
    // here rather than on the thread's stack, so that a completion the
    // driver reports late can never write into a stack that is gone.
    OVERLAPPED waitRequest = {};
    DWORD waitMask = 0;
};

SerialLink Link;

bool PortOpen() { return Link.port.Valid(); }

// Clears the port's error state; returns the queue lengths. False when the
// port no longer answers.
bool PortStatus(COMSTAT& status) {
    DWORD errors = 0;
    status = {};
    return ClearCommError(Link.port.Get(), &errors, &status) != FALSE;
}

void ClearPortErrors() {
    COMSTAT status;
    PortStatus(status);
}

// Waits for an overlapped request of the main thread to complete, at most
// `limitMs`. On timeout the request is cancelled. Returns the byte count
// the driver reports (0 on failure), with the port's error state cleared
// after a failure.
DWORD FinishRequest(OVERLAPPED& request, DWORD limitMs) {
    DWORD count = 0;
    if (WaitForSingleObject(request.hEvent, limitMs) != WAIT_OBJECT_0) {
        CancelIo(Link.port.Get());
        WaitForSingleObject(request.hEvent, IoWaitLimitMs);
    }
    if (!GetOverlappedResult(Link.port.Get(), &request, &count, FALSE)) ClearPortErrors();
    return count;
}

bool EnsureEvent(UniqueHandle& event) {
    if (!event.Valid()) event.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    return event.Valid();
}

// Sends WM_COMMNOTIFY when bytes are queued; true when there were. The main
// window reads up to 1024 bytes per notification.
bool NotifyIfQueued() {
    COMSTAT status;
    const bool queued = PortStatus(status) && status.cbInQue > 0;
    if (queued) SendMessageA(Link.window, WM_COMMNOTIFY, 0, 0);
    return queued;
}

// Notifies while bytes are queued, once per millisecond at most.
void NotifyWhileQueued() {
    bool queued = false;
    do {
        queued = NotifyIfQueued();
        Sleep(1);
    } while (queued && Link.linkEnabled.load() != 0);
}

enum class WaitOutcome { Event, Empty, Stop };

// One wait for a port event: Event when characters came, Empty when the
// wait ended without one, Stop when the thread is to end.
WaitOutcome WaitForPortEvent(HANDLE event) {
    OVERLAPPED& request = Link.waitRequest;
    request = {};
    request.hEvent = event;
    ResetEvent(event);
    Link.waitMask = 0;
    if (!WaitCommEvent(Link.port.Get(), &Link.waitMask, &request)) {
        // A port that refuses to wait (a vanished device) is watched like
        // one whose waits end empty.
        if (GetLastError() != ERROR_IO_PENDING) return WaitOutcome::Empty;
        const HANDLE waits[2] = {event, Link.stopEvent.Get()};
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woke != WAIT_OBJECT_0) {
            CancelIo(Link.port.Get());
            WaitForSingleObject(event, IoWaitLimitMs);
            return WaitOutcome::Stop;
        }
        DWORD unused = 0;
        if (!GetOverlappedResult(Link.port.Get(), &request, &unused, FALSE)) Link.waitMask = 0;
    }
    if ((Link.waitMask & EV_RXCHAR) == 0) return WaitOutcome::Empty;
    NotifyWhileQueued();
    return WaitOutcome::Event;
}

// Watches the input queue instead of waiting for events, until the thread
// is to end. While bytes come, the queue is looked at again after 1 ms, as
// after an event; once it is empty, every PollIdleMs. The pauses are plain
// sleeps, which under Wine cost no server request; Disconnect clears the
// run flag first, so the thread still ends within a pause.
void PollInputQueue() {
    while (Link.linkEnabled.load() != 0) Sleep(NotifyIfQueued() ? 1 : PollIdleMs);
}

// The port's event thread. A serial driver's comm-event wait blocks until a
// character arrives. Some ports end their waits at once without an event
// instead (a pseudo-terminal under Wine does so within a millisecond, and
// each new wait costs a thread there): once a wait has ended empty, the
// thread watches the input queue on a short timer for the rest of the
// connection, which costs far less and still hands each frame over well
// within a frame time.
DWORD WINAPI PortEventThread(LPVOID) {
    UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!event.Valid()) {
        MessageBoxA(nullptr, "Failed to create event for thread!", "TTY Error!", MB_ICONEXCLAMATION | MB_OK);
        return 0;
    }
    if (SetCommMask(Link.port.Get(), EV_RXCHAR)) {
        WaitOutcome outcome = WaitOutcome::Event;
        while (outcome == WaitOutcome::Event && Link.linkEnabled.load() != 0)
            outcome = WaitForPortEvent(event.Get());
        if (outcome == WaitOutcome::Stop) return 0;
    }
    PollInputQueue();  // returns at once when the link was stopped
    return 0;
}

// Waits for the event thread to end. Messages sent to this thread (the
// thread's WM_COMMNOTIFY) are handled meanwhile, so that a thread blocked
// in its send can finish.
bool WaitForThreadEnd(HANDLE thread, DWORD limitMs) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const ULONGLONG spent = GetTickCount64() - start;
        if (spent >= limitMs) return false;
        const DWORD woke =
            MsgWaitForMultipleObjects(1, &thread, FALSE, static_cast<DWORD>(limitMs - spent), QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0) return true;
        if (woke != WAIT_OBJECT_0 + 1) return false;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

bool LinkIsEnabled() { return Link.linkEnabled.load() != 0; }

bool OpenPort(const char* portName) {
    Link.linkEnabled.store(1);
    HANDLE h = CreateFileA(portName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    Link.port.Reset(h);

    SetCommMask(h, EV_RXCHAR);
    SetupComm(h, InputQueueBytes, OutputQueueBytes);
    PurgeComm(h, PurgeAll);
    COMMTIMEOUTS timeouts = {};
    timeouts.ReadIntervalTimeout = MAXDWORD;  // reads return at once with what is queued
    SetCommTimeouts(h, &timeouts);

    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    GetCommState(h, &dcb);
    dcb.BaudRate = CBR_38400;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.fParity = FALSE;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(h, &dcb)) {
        Link.port.Reset();
        return false;
    }
    return true;
}

int Connect(HWND window, const char* portName) {
    if (PortOpen()) Disconnect();  // never two ports or two threads
    if (!OpenPort(portName)) {
        MessageBeep(MB_ICONEXCLAMATION);
        MessageBoxA(window, PortNotAvailableText, nullptr, MB_ICONEXCLAMATION | MB_OK);
        return ConnectPortFailed;
    }
    SilenceTicks = 0;
    TransmitCount = 0;
    Sleep(ConnectSettleMs);
    ClearPortErrors();
    PurgeComm(Link.port.Get(), PurgeAll);

    Link.window = window;
    if (!EnsureEvent(Link.stopEvent) || !EnsureEvent(Link.readEvent) || !EnsureEvent(Link.writeEvent)) {
        Link.port.Reset();
        Online = 0;
        return ConnectThreadFailed;
    }
    ResetEvent(Link.stopEvent.Get());
    DWORD threadId = 0;
    Link.thread.Reset(CreateThread(nullptr, 0, PortEventThread, nullptr, 0, &threadId));
    if (!Link.thread.Valid()) {
        Link.port.Reset();
        Online = 0;
        return ConnectThreadFailed;
    }
    SilenceTicks = 0;
    return ConnectOk;
}

void Disconnect() {
    if (Link.linkEnabled.load() == 0) return;
    Link.linkEnabled.store(0);
    if (Link.stopEvent.Valid()) SetEvent(Link.stopEvent.Get());
    if (PortOpen()) {
        SetCommMask(Link.port.Get(), 0);  // ends a comm-event wait
        PurgeComm(Link.port.Get(), PurgeAll);
    }
    if (Link.thread.Valid()) {
        if (!WaitForThreadEnd(Link.thread.Get(), ThreadStopLimitMs)) {
            // The thread still holds the port: leave the port open rather
            // than pull it from under the thread.
            Link.thread.Reset();
            return;
        }
        Link.thread.Reset();
    }
    Link.port.Reset();
}

int PortRead(uint8_t* buffer, int capacity) {
    if (!PortOpen() || capacity <= 0) return 0;
    COMSTAT status;
    if (!PortStatus(status)) return 0;
    const DWORD wanted = status.cbInQue < static_cast<DWORD>(capacity) ? status.cbInQue : static_cast<DWORD>(capacity);
    if (wanted == 0) return 0;

    OVERLAPPED& request = Link.readRequest;
    request = {};
    request.hEvent = Link.readEvent.Get();
    if (ReadFile(Link.port.Get(), buffer, wanted, nullptr, &request) || GetLastError() == ERROR_IO_PENDING)
        return static_cast<int>(FinishRequest(request, IoWaitLimitMs));
    ClearPortErrors();
    return 0;
}

void PortWrite(const uint8_t* bytes, int count) {
    if (!PortOpen() || count <= 0) return;
    OVERLAPPED& request = Link.writeRequest;
    request = {};
    request.hEvent = Link.writeEvent.Get();
    if (!WriteFile(Link.port.Get(), bytes, static_cast<DWORD>(count), nullptr, &request)) {
        if (GetLastError() != ERROR_IO_PENDING) {
            ClearPortErrors();
            return;
        }
    }
    FinishRequest(request, IoWaitLimitMs);

    // Until the bytes have left the port, but not forever: a port that
    // stopped draining is given up after DrainWaitLimitMs.
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        COMSTAT status;
        if (!PortStatus(status) || status.cbOutQue == 0) return;
        if (GetTickCount64() - start >= DrainWaitLimitMs) return;
        Sleep(0);
    }
}
