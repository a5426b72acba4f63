// Serial link on Win32 overlapped I/O, and the port's event thread.
#include "link/serial_win32.h"

#include <atomic>
#include <cstdint>
#include <cstring>

#include "link/frame_receiver.h"
#include "link/link_seams.h"
#include "link/link_state.h"
#include "link/serial_line_win32.h"
#include "resources/resource_ids.h"
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
// A port whose status cannot be read any more has lost its device (a USB
// adapter pulled out). A few failures in a row, so that one hiccup of a
// driver is not taken for that.
constexpr int LostAfterFailures = 3;
// "\\.\" and a port name of up to 7 characters.
constexpr size_t DevicePathCapacity = 16;
// A connection whose event thread outlived its Disconnect keeps its slot
// until the thread ends; a few slots let the link go on even if several
// such threads hang at once.
constexpr int SessionSlots = 4;

enum class SessionState { Free, Active, Retiring };

// One connection: the port and the event thread that watches it. Opened by
// OpenPort, freed only by ReleaseSession, once its thread has ended.
struct PortSession {
    // Main thread only. Retiring: the thread did not end within its wait;
    // nobody touches the port until ReleaseEndedPorts sees the thread end.
    SessionState state = SessionState::Free;
    // The open port. Opened, read, written and closed by the main thread;
    // the session's event thread waits on it and asks for its queue length
    // while it runs. Closed only after that thread has ended.
    UniqueHandle port;
    // Main thread only: the event thread, to wait for its end.
    UniqueHandle thread;
    // Set by the main thread to end the event thread's wait; made and reset
    // by the main thread before the thread starts.
    UniqueHandle stopEvent;
    // Written by the main thread (set before the thread starts, cleared to
    // stop it), read by the event thread, which runs while it is set. Each
    // session has its own, so that a thread that outlives its Disconnect
    // never runs on for a later connection.
    std::atomic<int32_t> run{0};
    // Written by the main thread before the thread starts, then only read
    // by the thread.
    HWND window = nullptr;
    // Event thread only: its comm-event request and the event mask. Kept
    // here rather than on the thread's stack, so that a completion the
    // driver reports late can never write into a stack that is gone.
    OVERLAPPED waitRequest = {};
    DWORD waitMask = 0;
};

struct SerialLink {
    // Main thread only: set by OpenPort, cleared by Disconnect (the event
    // threads read their session's run flag instead).
    int32_t linkEnabled = 0;
    // Main thread only: the session reads and writes go to; null while no
    // port is open.
    PortSession* current = nullptr;
    PortSession sessions[SessionSlots];
    // Main thread only: the asynchronous read and write requests, their
    // completion events and the buffer reads land in. They live as long as
    // the program, so that a request the driver completes after its wait
    // was given up still writes only here.
    OVERLAPPED readRequest = {};
    OVERLAPPED writeRequest = {};
    UniqueHandle readEvent;
    UniqueHandle writeEvent;
    uint8_t readBuffer[PortReadChunk] = {};
};

SerialLink Link;

PortResult Failed(PortError error, DWORD systemError) { return {error, static_cast<uint32_t>(systemError)}; }

// The only place a session's handles are freed: after its thread has ended,
// or when it never started one.
void ReleaseSession(PortSession& s) {
    s.run.store(0);
    s.thread.Reset();
    s.port.Reset();
    s.stopEvent.Reset();
    s.window = nullptr;
    s.state = SessionState::Free;
}

PortSession* FreeSession() {
    for (PortSession& s : Link.sessions)
        if (s.state == SessionState::Free) return &s;
    return nullptr;
}

HANDLE CurrentPort() { return Link.current != nullptr ? Link.current->port.Get() : nullptr; }

// Clears the port's error state; returns the queue lengths. False when the
// port no longer answers.
bool PortStatus(HANDLE port, COMSTAT& status) {
    DWORD errors = 0;
    status = {};
    return ClearCommError(port, &errors, &status) != FALSE;
}

void ClearPortErrors(HANDLE port) {
    COMSTAT status;
    PortStatus(port, status);
}

// Waits for an overlapped request of the main thread to complete, at most
// `limitMs`. On timeout the request is cancelled. Returns the byte count
// the driver reports (0 on failure), with the port's error state cleared
// after a failure. A request still pending after all that stays the
// driver's until it completes (see RequestFree).
DWORD FinishRequest(HANDLE port, OVERLAPPED& request, DWORD limitMs) {
    DWORD count = 0;
    if (WaitForSingleObject(request.hEvent, limitMs) != WAIT_OBJECT_0) {
        CancelIo(port);
        WaitForSingleObject(request.hEvent, IoWaitLimitMs);
    }
    if (!GetOverlappedResult(port, &request, &count, FALSE)) ClearPortErrors(port);
    return count;
}

// A request record may be used again only when the driver is done with the
// last request made with it.
bool RequestFree(const OVERLAPPED& request) { return HasOverlappedIoCompleted(&request); }

bool EnsureEvent(UniqueHandle& event) {
    if (!event.Valid()) event.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    return event.Valid();
}

enum class QueueCheck { Empty, Queued, Failed };

// Sends WM_COMMNOTIFY when bytes are queued. The main window reads up to
// 1024 bytes per notification. On Failed, `systemError` holds the code.
QueueCheck NotifyIfQueued(PortSession& s, DWORD& systemError) {
    COMSTAT status;
    if (!PortStatus(s.port.Get(), status)) {
        systemError = GetLastError();
        return QueueCheck::Failed;
    }
    if (status.cbInQue == 0) return QueueCheck::Empty;
    SendMessageA(s.window, WM_COMMNOTIFY, 0, 0);
    return QueueCheck::Queued;
}

// Notifies while bytes are queued, once per millisecond at most.
void NotifyWhileQueued(PortSession& s) {
    DWORD unused = 0;
    QueueCheck check = QueueCheck::Empty;
    do {
        check = NotifyIfQueued(s, unused);
        Sleep(1);
    } while (check == QueueCheck::Queued && s.run.load() != 0);
}

enum class WaitOutcome { Event, Empty, Stop };

// One wait for a port event: Event when characters came, Empty when the
// wait ended without one, Stop when the thread is to end.
WaitOutcome WaitForPortEvent(PortSession& s, HANDLE event) {
    OVERLAPPED& request = s.waitRequest;
    request = {};
    request.hEvent = event;
    ResetEvent(event);
    s.waitMask = 0;
    if (!WaitCommEvent(s.port.Get(), &s.waitMask, &request)) {
        // A port that refuses to wait (a vanished device) is watched like
        // one whose waits end empty.
        if (GetLastError() != ERROR_IO_PENDING) return WaitOutcome::Empty;
        const HANDLE waits[2] = {event, s.stopEvent.Get()};
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woke != WAIT_OBJECT_0) {
            CancelIo(s.port.Get());
            WaitForSingleObject(event, IoWaitLimitMs);
            return WaitOutcome::Stop;
        }
        DWORD unused = 0;
        if (!GetOverlappedResult(s.port.Get(), &request, &unused, FALSE)) s.waitMask = 0;
    }
    if ((s.waitMask & EV_RXCHAR) == 0) return WaitOutcome::Empty;
    NotifyWhileQueued(s);
    return WaitOutcome::Event;
}

// Watches the input queue instead of waiting for events, until the thread
// is to end. While bytes come, the queue is looked at again after 1 ms, as
// after an event; once it is empty, every PollIdleMs. The pauses are plain
// sleeps, which under Wine cost no server request; Disconnect clears the
// run flag first, so the thread still ends within a pause. A port that has
// lost its device is reported to the window, and the thread ends.
void PollInputQueue(PortSession& s) {
    int failures = 0;
    DWORD systemError = 0;
    while (s.run.load() != 0) {
        const QueueCheck check = NotifyIfQueued(s, systemError);
        failures = check == QueueCheck::Failed ? failures + 1 : 0;
        if (failures >= LostAfterFailures) {
            PostMessageA(s.window, MSG_PORT_FAILURE, static_cast<WPARAM>(PortError::Lost),
                         static_cast<LPARAM>(systemError));
            return;
        }
        Sleep(check == QueueCheck::Queued ? 1 : PollIdleMs);
    }
}

// The port's event thread, for one session. A serial driver's comm-event
// wait blocks until a character arrives. Some ports end their waits at once
// without an event instead (a pseudo-terminal under Wine does so within a
// millisecond, and each new wait costs a thread there): once a wait has
// ended empty, the thread watches the input queue on a short timer for the
// rest of the connection, which costs far less and still hands each frame
// over well within a frame time. A failure is posted to the window, never
// shown from here: a message box would run on this thread.
DWORD WINAPI PortEventThread(LPVOID parameter) {
    PortSession& s = *static_cast<PortSession*>(parameter);
    UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!event.Valid()) {
        PostMessageA(s.window, MSG_PORT_FAILURE, static_cast<WPARAM>(PortError::EventFailed),
                     static_cast<LPARAM>(GetLastError()));
        return 0;
    }
    if (SetCommMask(s.port.Get(), EV_RXCHAR)) {
        WaitOutcome outcome = WaitOutcome::Event;
        while (outcome == WaitOutcome::Event && s.run.load() != 0) outcome = WaitForPortEvent(s, event.Get());
        if (outcome == WaitOutcome::Stop) return 0;
    }
    PollInputQueue(s);  // returns at once when the link was stopped
    return 0;
}

// Debuggers, and the end-to-end tests, find the event thread by this name.
// Looked up at run time: Windows before 10 lacks the call.
void NameEventThread(HANDLE thread) {
    using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr) return;
    const auto set = reinterpret_cast<SetDescription>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetThreadDescription")));
    if (set != nullptr) set(thread, L"PortEventThread");
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

// Ends the session's thread and frees the session, or leaves it retiring
// when the thread does not end within ThreadStopLimitMs. The thread's wait
// is ended from this thread by the stop event, by clearing the port's event
// mask and by cancelling its request (CancelIo in the thread itself would
// cancel only that thread's own requests).
void StopSession(PortSession& s) {
    s.run.store(0);
    if (s.stopEvent.Valid()) SetEvent(s.stopEvent.Get());
    if (s.port.Valid()) {
        SetCommMask(s.port.Get(), 0);
        CancelIoEx(s.port.Get(), &s.waitRequest);
        PurgeComm(s.port.Get(), PurgeAll);
    }
    if (s.thread.Valid() && !WaitForThreadEnd(s.thread.Get(), ThreadStopLimitMs)) {
        // The thread may still use the port: pulling it from under the
        // thread could hand its handle number to the next port opened.
        s.state = SessionState::Retiring;
        return;
    }
    ReleaseSession(s);
}

// Before a new connection: the retiring threads are asked once more to end
// and given their time, so that a port they hold can be opened again.
void EndRetiringSessions() {
    for (PortSession& s : Link.sessions) {
        if (s.state != SessionState::Retiring) continue;
        SetEvent(s.stopEvent.Get());
        SetCommMask(s.port.Get(), 0);
        CancelIoEx(s.port.Get(), nullptr);
        if (WaitForThreadEnd(s.thread.Get(), ThreadStopLimitMs)) ReleaseSession(s);
    }
}

// The connection could not be completed: its port is closed again and the
// link is offline.
PortResult AbandonCurrent(PortError error, DWORD systemError) {
    if (Link.current != nullptr) ReleaseSession(*Link.current);
    Link.current = nullptr;
    Online = 0;
    return Failed(error, systemError);
}

// Ports are opened through the device namespace ("\\.\COM12"): a plain
// "COM10" and above names no device. Port names are ASCII.
bool DevicePath(const char* portName, wchar_t (&path)[DevicePathCapacity]) {
    static const wchar_t prefix[] = L"\\\\.\\";
    size_t n = 0;
    for (const wchar_t* p = prefix; *p != L'\0'; ++p) path[n++] = *p;
    for (const char* c = portName; *c != '\0'; ++c) {
        if (n + 1 >= DevicePathCapacity || static_cast<unsigned char>(*c) >= 0x80) return false;
        path[n++] = static_cast<wchar_t>(*c);
    }
    path[n] = L'\0';
    return true;
}

HANDLE CreatePortHandle(const char* portName) {
    wchar_t path[DevicePathCapacity];
    if (!DevicePath(portName, path)) {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
}

struct BackgroundOpen {
    HWND window;
    uint32_t attempt;
    char portName[DevicePathCapacity];
};

DWORD WINAPI BackgroundOpenThread(LPVOID parameter) {
    BackgroundOpen* job = static_cast<BackgroundOpen*>(parameter);
    const HANDLE h = CreatePortHandle(job->portName);
    if (!PostMessageA(job->window, MSG_PORT_REOPENED, reinterpret_cast<WPARAM>(h), static_cast<LPARAM>(job->attempt)) &&
        h != INVALID_HANDLE_VALUE)
        CloseHandle(h);  // nobody is left to take it
    delete job;
    return 0;
}

PortResult ConfigurePort(PortSession* s, HANDLE h);
PortResult StartSession(HWND window);

}  // namespace

bool LinkIsEnabled() { return Link.linkEnabled != 0; }

bool StartBackgroundOpen(HWND window, const char* portName, uint32_t attempt) {
    BackgroundOpen* job = new BackgroundOpen{window, attempt, {}};
    std::strncpy(job->portName, portName, sizeof job->portName - 1);
    HANDLE thread = CreateThread(nullptr, 0, BackgroundOpenThread, job, 0, nullptr);
    if (thread == nullptr) {
        delete job;
        return false;
    }
    CloseHandle(thread);  // it ends by itself
    return true;
}

PortResult ConnectOpened(HWND window, HANDLE port) {
    if (Link.current != nullptr) Disconnect();
    EndRetiringSessions();
    Link.linkEnabled = 1;
    PortSession* s = FreeSession();
    if (s == nullptr) {
        CloseHandle(port);
        return Failed(PortError::OpenFailed, ERROR_BUSY);
    }
    const PortResult configured = ConfigurePort(s, port);
    if (!configured.Ok()) return configured;
    return StartSession(window);
}

PortResult OpenPort(const char* portName) {
    if (Link.current != nullptr) Disconnect();  // never two ports or two threads
    Link.linkEnabled = 1;
    PortSession* s = FreeSession();
    // Every slot holds a port whose thread has not ended.
    if (s == nullptr) return Failed(PortError::OpenFailed, ERROR_BUSY);
    HANDLE h = CreatePortHandle(portName);
    if (h == INVALID_HANDLE_VALUE) return Failed(PortError::OpenFailed, GetLastError());
    return ConfigurePort(s, h);
}

namespace {

// Takes `h` into the session and sets the port up; the session is free again
// when that fails.
PortResult ConfigurePort(PortSession* s, HANDLE h) {
    s->port.Reset(h);
    s->state = SessionState::Active;

    SetCommMask(h, EV_RXCHAR);
    SetupComm(h, InputQueueBytes, OutputQueueBytes);
    PurgeComm(h, PurgeAll);
    COMMTIMEOUTS timeouts = {};
    timeouts.ReadIntervalTimeout = MAXDWORD;  // reads return at once with what is queued
    SetCommTimeouts(h, &timeouts);

    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    GetCommState(h, &dcb);
    SetUnitLine(dcb);
    if (!SetCommState(h, &dcb)) {
        const DWORD code = GetLastError();
        ReleaseSession(*s);
        return Failed(PortError::ConfigFailed, code);
    }
    Link.current = s;
    return {};
}

// Starts the event thread for the port just opened.
PortResult StartSession(HWND window) {
    SilenceTicks = 0;
    TransmitCount = 0;
    Sleep(ConnectSettleMs);
    PortSession& s = *Link.current;
    ClearPortErrors(s.port.Get());
    PurgeComm(s.port.Get(), PurgeAll);

    s.window = window;
    if (!EnsureEvent(s.stopEvent) || !EnsureEvent(Link.readEvent) || !EnsureEvent(Link.writeEvent))
        return AbandonCurrent(PortError::ThreadFailed, GetLastError());
    ResetEvent(s.stopEvent.Get());
    s.run.store(1);
    DWORD threadId = 0;
    s.thread.Reset(CreateThread(nullptr, 0, PortEventThread, &s, 0, &threadId));
    if (!s.thread.Valid()) return AbandonCurrent(PortError::ThreadFailed, GetLastError());
    NameEventThread(s.thread.Get());
    SilenceTicks = 0;
    return {};
}

}  // namespace

PortResult Connect(HWND window, const char* portName) {
    if (Link.current != nullptr) Disconnect();
    EndRetiringSessions();
    const PortResult opened = OpenPort(portName);
    if (!opened.Ok()) return opened;
    return StartSession(window);
}

bool CurrentPortWatchEnded(DWORD limitMs) {
    return Link.current != nullptr && Link.current->thread.Valid() &&
           WaitForSingleObject(Link.current->thread.Get(), limitMs) == WAIT_OBJECT_0;
}

void Disconnect() {
    if (Link.linkEnabled == 0) return;
    Link.linkEnabled = 0;
    PortSession* s = Link.current;
    Link.current = nullptr;
    if (s != nullptr) StopSession(*s);
}

void ReleaseEndedPorts() {
    for (PortSession& s : Link.sessions)
        if (s.state == SessionState::Retiring && WaitForSingleObject(s.thread.Get(), 0) == WAIT_OBJECT_0)
            ReleaseSession(s);
}

int PortRead(uint8_t* buffer, int capacity) {
    const HANDLE port = CurrentPort();
    if (port == nullptr || capacity <= 0 || !RequestFree(Link.readRequest)) return 0;
    COMSTAT status;
    if (!PortStatus(port, status)) return 0;
    DWORD wanted = status.cbInQue < static_cast<DWORD>(capacity) ? status.cbInQue : static_cast<DWORD>(capacity);
    if (wanted > sizeof Link.readBuffer) wanted = sizeof Link.readBuffer;
    if (wanted == 0) return 0;

    OVERLAPPED& request = Link.readRequest;
    request = {};
    request.hEvent = Link.readEvent.Get();
    if (!ReadFile(port, Link.readBuffer, wanted, nullptr, &request) && GetLastError() != ERROR_IO_PENDING) {
        ClearPortErrors(port);
        return 0;
    }
    DWORD got = FinishRequest(port, request, IoWaitLimitMs);
    if (got > wanted) got = wanted;
    std::memcpy(buffer, Link.readBuffer, got);
    return static_cast<int>(got);
}

// The bytes are the encoder's reply, which lives as long as the program; a
// write the driver has not finished yet keeps the request, and the next
// answer is dropped rather than sent over it.
void PortWrite(const uint8_t* bytes, int count) {
    const HANDLE port = CurrentPort();
    if (port == nullptr || count <= 0 || !RequestFree(Link.writeRequest)) return;
    OVERLAPPED& request = Link.writeRequest;
    request = {};
    request.hEvent = Link.writeEvent.Get();
    if (!WriteFile(port, bytes, static_cast<DWORD>(count), nullptr, &request)) {
        if (GetLastError() != ERROR_IO_PENDING) {
            ClearPortErrors(port);
            return;
        }
    }
    FinishRequest(port, request, IoWaitLimitMs);

    // Until the bytes have left the port, but not forever: a port that
    // stopped draining is given up after DrainWaitLimitMs.
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        COMSTAT status;
        if (!PortStatus(port, status) || status.cbOutQue == 0) return;
        if (GetTickCount64() - start >= DrainWaitLimitMs) return;
        Sleep(0);
    }
}
