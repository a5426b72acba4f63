// qivdrive.exe: drives qiv72rc.exe from inside the same Wine session, the
// way a user would: finds the main window, its dialogs and message boxes,
// reads the title, posts menu commands and button clicks, selects list
// entries, types into edits, and measures how long things take. One
// command per run; prints its result on stdout; exit code 0 on success, 1
// when the awaited thing did not happen in time, 2 on a usage error.
//
// Every wait polls for its condition up to a ceiling. A wait that ends in
// time is appended to the file named by QIV_WAITS (a Windows path), as
// "<ms taken>\t<ceiling ms>\t<command>", so that a run can name its
// slowest waits and how close they came to their ceilings.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/e2e/qivprobe.h"

namespace {

constexpr char MainClass[] = "QIVRCClass";
constexpr DWORD PollMs = 5;
// Ceilings of the waits that commands make on their own (the dialog a
// command acts on, the program's answer to a message or to the probe). A
// busy machine may hold the program back for seconds, so they are generous:
// only a program that never answers reaches them.
constexpr DWORD DialogCeilingMs = 30000;
constexpr UINT AnswerCeilingMs = 30000;

ULONGLONG Now() { return GetTickCount64(); }

long long UnixMs() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    return static_cast<long long>((t.QuadPart - 116444736000000000ULL) / 10000ULL);
}

HWND FindMain() { return FindWindowA(MainClass, nullptr); }

int CountMain() {
    int n = 0;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(w, name, sizeof name);
        if (lstrcmpiA(name, MainClass) == 0) ++n;
    }
    return n;
}

std::string TextOf(HWND w) {
    char text[512] = {};
    GetWindowTextA(w, text, sizeof text);
    return text;
}

// The text of a control in the program: an edit keeps its text to itself,
// so it is asked with WM_GETTEXT (wide, as Wine hands texts across).
std::string ControlText(HWND c) {
    wchar_t wide[512] = {};
    DWORD_PTR unused = 0;
    SendMessageTimeoutW(c, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, AnswerCeilingMs,
                        &unused);
    char text[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

std::string Title() {
    HWND w = FindMain();
    return w != nullptr ? TextOf(w) : std::string("<no window>");
}

DWORD MainProcess() {
    HWND w = FindMain();
    DWORD pid = 0;
    if (w != nullptr) GetWindowThreadProcessId(w, &pid);
    return pid;
}

bool HasPrefixClass(HWND w, const char* cls) {
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    return std::strcmp(name, cls) == 0;
}

// Visible dialog boxes (#32770) of the program.
std::vector<HWND> Dialogs() {
    std::vector<HWND> found;
    const DWORD pid = MainProcess();
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        if (!IsWindowVisible(w) || !HasPrefixClass(w, "#32770")) continue;
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (pid != 0 && owner != pid) continue;
        found.push_back(w);
    }
    return found;
}

HWND DialogByCaption(const char* caption) {
    for (HWND d : Dialogs())
        if (TextOf(d) == caption) return d;
    return nullptr;
}

// The texts of a dialog's static controls, joined by "|".
std::string StaticTexts(HWND dialog) {
    std::string all;
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!HasPrefixClass(c, "Static")) continue;
        const std::string t = TextOf(c);
        if (t.empty()) continue;
        if (!all.empty()) all += "|";
        all += t;
    }
    return all;
}

HWND MessageBoxWith(const char* text) {
    for (HWND d : Dialogs())
        if (StaticTexts(d).find(text) != std::string::npos) return d;
    return nullptr;
}

// The command line of this run, for the wait log.
std::string gCommand;

void LogWait(ULONGLONG spent, DWORD ceiling) {
    char path[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("QIV_WAITS", path, sizeof path);
    if (n == 0 || n >= sizeof path) return;
    std::FILE* f = std::fopen(path, "a");
    if (f == nullptr) return;
    std::fprintf(f, "%llu\t%lu\tqivdrive%s\n", spent, static_cast<unsigned long>(ceiling), gCommand.c_str());
    std::fclose(f);
}

template <typename F>
bool WaitFor(DWORD timeoutMs, F done) {
    const ULONGLONG start = Now();
    for (;;) {
        if (done()) {
            LogWait(Now() - start, timeoutMs);
            return true;
        }
        if (Now() - start >= timeoutMs) return false;
        Sleep(PollMs);
    }
}

int Fail(const std::string& why) {
    std::printf("FAIL %s\n", why.c_str());
    return 1;
}

DWORD Ms(const char* s) { return static_cast<DWORD>(std::strtoul(s, nullptr, 10)); }

HWND NeedDialog(const char* caption) {
    HWND d = nullptr;
    WaitFor(DialogCeilingMs, [&] { return (d = DialogByCaption(caption)) != nullptr; });
    return d;
}

// --- commands ------------------------------------------------------------

int CmdWaitWindow(DWORD timeout) {
    HWND w = nullptr;
    if (!WaitFor(timeout, [&] { return (w = FindMain()) != nullptr; })) return Fail("no main window");
    std::printf("%p\n", static_cast<void*>(w));
    return 0;
}

int CmdWaitTitle(const char* text, DWORD timeout, bool present) {
    const ULONGLONG start = Now();
    if (!WaitFor(timeout, [&] { return (Title().find(text) != std::string::npos) == present; }))
        return Fail("title is \"" + Title() + "\"");
    std::printf("%llu %s\n", Now() - start, Title().c_str());
    return 0;
}

// Milliseconds from the first title holding `first` to the first holding
// `second`.
int CmdTimeBetween(const char* first, const char* second, DWORD timeout) {
    if (!WaitFor(timeout, [&] { return Title().find(first) != std::string::npos; }))
        return Fail("title never held \"" + std::string(first) + "\", is \"" + Title() + "\"");
    const ULONGLONG start = Now();
    if (!WaitFor(timeout, [&] { return Title().find(second) != std::string::npos; }))
        return Fail("title never held \"" + std::string(second) + "\", is \"" + Title() + "\"");
    std::printf("%llu\n", Now() - start);
    return 0;
}

// Writes "<unix ms>\t<title>\t<unix ms the title before was last seen>"
// at every change, for `duration` ms. The last column bounds how long ago
// the change happened when this process was held back.
int CmdWatchTitle(const char* path, DWORD duration) {
    std::FILE* f = std::fopen(path, "w");
    if (f == nullptr) return Fail("cannot write " + std::string(path));
    std::string last = "\x01";
    long long lastSeen = UnixMs();
    const ULONGLONG start = Now();
    while (Now() - start < duration) {
        const std::string t = Title();
        const long long now = UnixMs();
        if (t != last) {
            std::fprintf(f, "%lld\t%s\t%lld\n", now, t.c_str(), lastSeen);
            std::fflush(f);
            last = t;
        }
        lastSeen = now;
        Sleep(2);
    }
    std::fclose(f);
    return 0;
}

int CmdPost(UINT msg, WPARAM wParam) {
    HWND w = FindMain();
    if (w == nullptr) return Fail("no main window");
    PostMessageA(w, msg, wParam, 0);
    return 0;
}

// Sends a system command and prints the window's answer.
int CmdSendSysCommand(WPARAM id) {
    HWND w = FindMain();
    if (w == nullptr) return Fail("no main window");
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(w, WM_SYSCOMMAND, id, 0, SMTO_ABORTIFHUNG, AnswerCeilingMs, &result))
        return Fail("no answer");
    std::printf("%lu\n", static_cast<unsigned long>(result));
    return 0;
}

int CmdWaitDialog(const char* caption, DWORD timeout, bool present) {
    if (!WaitFor(timeout, [&] { return (DialogByCaption(caption) != nullptr) == present; }))
        return Fail(std::string("dialog \"") + caption + (present ? "\" did not open" : "\" did not close"));
    std::printf("ok\n");
    return 0;
}

int CmdSetText(const char* caption, int id, const char* text) {
    HWND d = NeedDialog(caption);
    if (d == nullptr) return Fail("no dialog " + std::string(caption));
    wchar_t wide[512] = {};
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 512);
    SendDlgItemMessageW(d, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide));
    return 0;
}

int CmdGetText(const char* caption, int id) {
    HWND d = NeedDialog(caption);
    if (d == nullptr) return Fail("no dialog " + std::string(caption));
    std::printf("%s\n", ControlText(GetDlgItem(d, id)).c_str());
    return 0;
}

bool IsListBox(HWND c) { return HasPrefixClass(c, "ListBox"); }

int CmdSelect(const char* caption, int id, int index) {
    HWND d = NeedDialog(caption);
    if (d == nullptr) return Fail("no dialog " + std::string(caption));
    HWND c = GetDlgItem(d, id);
    if (IsListBox(c)) {
        SendMessageA(c, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(c));
    } else {
        SendMessageA(c, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(c));
    }
    return 0;
}

int CmdCurSel(const char* caption, int id) {
    HWND d = NeedDialog(caption);
    if (d == nullptr) return Fail("no dialog " + std::string(caption));
    HWND c = GetDlgItem(d, id);
    const LRESULT sel = SendMessageA(c, IsListBox(c) ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
    std::printf("%ld\n", static_cast<long>(sel));
    return 0;
}

int CmdItems(const char* caption, int id) {
    HWND d = NeedDialog(caption);
    if (d == nullptr) return Fail("no dialog " + std::string(caption));
    HWND c = GetDlgItem(d, id);
    const bool list = IsListBox(c);
    const LRESULT n = SendMessageA(c, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        // The wide message: Wine hands list texts across processes as UTF-16.
        wchar_t wide[256] = {};
        SendMessageW(c, list ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
        char text[512] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        std::printf("%s\n", text);
    }
    return 0;
}

int CmdClick(const char* caption, int id, WORD code) {
    HWND d = NeedDialog(caption);
    if (d == nullptr) return Fail("no dialog " + std::string(caption));
    PostMessageA(d, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(d, id)));
    return 0;
}

// A button click that returns once the dialog has handled it: what the
// click starts (a file dialog moving to a typed folder) is over, and a text
// set afterwards cannot be overtaken by it. Not for buttons that open a
// modal window of their own.
int CmdPress(const char* caption, int id) {
    HWND d = NeedDialog(caption);
    if (d == nullptr) return Fail("no dialog " + std::string(caption));
    DWORD_PTR unused = 0;
    const ULONGLONG start = Now();
    if (!SendMessageTimeoutA(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, id)),
                             SMTO_NORMAL, AnswerCeilingMs, &unused))
        return Fail("the dialog did not handle the click");
    LogWait(Now() - start, AnswerCeilingMs);
    return 0;
}

// Waits until a dialog control's text is `text`, or starts with it when it
// ends in '*'.
int CmdWaitText(const char* caption, int id, const char* text, DWORD timeout) {
    HWND d = NeedDialog(caption);
    if (d == nullptr) return Fail("no dialog " + std::string(caption));
    std::string want = text;
    const bool prefix = !want.empty() && want.back() == '*';
    if (prefix) want.pop_back();
    std::string got;
    auto matches = [&] {
        got = ControlText(GetDlgItem(d, id));
        return prefix ? got.compare(0, want.size(), want) == 0 : got == want;
    };
    if (!WaitFor(timeout, matches)) return Fail("control " + std::to_string(id) + " shows \"" + got + "\"");
    std::printf("%s\n", got.c_str());
    return 0;
}

int CmdMessageBox(const char* text, DWORD timeout) {
    HWND d = nullptr;
    if (!WaitFor(timeout, [&] { return (d = MessageBoxWith(text)) != nullptr; }))
        return Fail("no message box with \"" + std::string(text) + "\"");
    std::printf("%s|%s\n", TextOf(d).c_str(), StaticTexts(d).c_str());
    return 0;
}

// Answers a message box and returns once it has closed, so that what the
// program does with the answer has begun.
int CmdAnswer(const char* text, int button, DWORD timeout) {
    HWND d = nullptr;
    if (!WaitFor(timeout, [&] { return (d = MessageBoxWith(text)) != nullptr; }))
        return Fail("no message box with \"" + std::string(text) + "\"");
    std::printf("%s|%s\n", TextOf(d).c_str(), StaticTexts(d).c_str());
    PostMessageA(d, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, button)));
    if (!WaitFor(DialogCeilingMs, [&] { return !IsWindow(d) || !IsWindowVisible(d); }))
        return Fail("the message box did not close");
    return 0;
}

// Exit from the menu; a question about unsaved data is answered No. Prints
// the milliseconds until the program's process has ended.
int CmdExitTime(DWORD timeout) {
    HWND w = FindMain();
    if (w == nullptr) return Fail("no main window");
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    const ULONGLONG start = Now();
    PostMessageA(w, WM_COMMAND, 40001, 0);
    bool ended = false;
    while (Now() - start < timeout) {
        if (process != nullptr ? WaitForSingleObject(process, 10) == WAIT_OBJECT_0 : !IsWindow(w)) {
            ended = true;
            break;
        }
        if (HWND q = MessageBoxWith("still not saved"))
            PostMessageA(q, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(q, IDNO)));
    }
    const ULONGLONG spent = Now() - start;
    if (process != nullptr) CloseHandle(process);
    if (!ended) return Fail("still running after " + std::to_string(spent) + " ms");
    std::printf("%llu\n", spent);
    return 0;
}

int CmdWaitExit(DWORD timeout) {
    if (!WaitFor(timeout, [] { return FindMain() == nullptr; })) return Fail("main window still there");
    std::printf("ok\n");
    return 0;
}

int CmdClientSize() {
    HWND w = FindMain();
    if (w == nullptr) return Fail("no main window");
    RECT r;
    GetClientRect(w, &r);
    std::printf("%ldx%ld\n", r.right - r.left, r.bottom - r.top);
    return 0;
}

int CmdWindowRect() {
    HWND w = FindMain();
    if (w == nullptr) return Fail("no main window");
    RECT r;
    GetWindowRect(w, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
}

// Holds FILE open without sharing it, as another program that locks it,
// until RELEASE exists (at most a minute). Prints "held" once it holds it.
int CmdHoldFile(const char* file, const char* release) {
    HANDLE h = CreateFileA(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return Fail("cannot open " + std::string(file));
    std::printf("held\n");
    std::fflush(stdout);
    WaitFor(60000, [&] { return GetFileAttributesA(release) != INVALID_FILE_ATTRIBUTES; });
    CloseHandle(h);
    return 0;
}

// Moves the main window's top-left corner to x, y, as a drag of its
// caption ends: the program sees the move like any other.
int CmdMoveWindow(int x, int y) {
    HWND w = FindMain();
    if (w == nullptr) return Fail("no main window");
    if (!SetWindowPos(w, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        return Fail("the main window did not move");
    return 0;
}

// The main window's client area on the screen: left, top, width, height.
int CmdClientRect() {
    HWND w = FindMain();
    if (w == nullptr) return Fail("no main window");
    RECT r;
    GetClientRect(w, &r);
    POINT origin = {0, 0};
    ClientToScreen(w, &origin);
    std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, r.right - r.left, r.bottom - r.top);
    return 0;
}

int CmdHasMenu() {
    HWND w = FindMain();
    if (w == nullptr) return Fail("no main window");
    std::printf("%s\n", GetMenu(w) != nullptr ? "menu" : "no menu");
    return 0;
}

int CmdWaitMenu(DWORD timeout, bool present) {
    HWND w = FindMain();
    if (w == nullptr) return Fail("no main window");
    if (!WaitFor(timeout, [&] { return (GetMenu(w) != nullptr) == present; }))
        return Fail(present ? "no main menu" : "the main menu is still shown");
    std::printf("ok\n");
    return 0;
}

int CmdPopupShown(DWORD timeout, bool present) {
    auto shown = [] {
        for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT))
            if (IsWindowVisible(w) && HasPrefixClass(w, "#32768")) return true;
        return false;
    };
    if (!WaitFor(timeout, [&] { return shown() == present; }))
        return Fail(present ? "no popup menu" : "popup menu still shown");
    std::printf("ok\n");
    return 0;
}

// Waits until the program's main window is the foreground window.
int CmdForeground(DWORD timeout) {
    HWND w = FindMain();
    if (w == nullptr) return Fail("no main window");
    const bool ok = WaitFor(timeout, [&] { return GetForegroundWindow() == w; });
    if (!ok) return Fail("foreground is \"" + TextOf(GetForegroundWindow()) + "\"");
    std::printf("ok\n");
    return 0;
}

// Gives a dialog control the keyboard focus, for real keys typed into it;
// returns once it has it.
int CmdFocus(const char* caption, int id) {
    HWND d = NeedDialog(caption);
    if (d == nullptr) return Fail("no dialog " + std::string(caption));
    HWND control = GetDlgItem(d, id);
    PostMessageA(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    auto focused = [&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(d, nullptr), &info) && info.hwndFocus == control;
    };
    if (!WaitFor(DialogCeilingMs, focused)) return Fail("control " + std::to_string(id) + " did not get the focus");
    return 0;
}

int CmdTexts(const char* caption) {
    HWND d = NeedDialog(caption);
    if (d == nullptr) return Fail("no dialog " + std::string(caption));
    std::printf("%s\n", StaticTexts(d).c_str());
    return 0;
}

int CmdIconic(DWORD timeout, bool wanted) {
    HWND w = FindMain();
    if (w == nullptr) return Fail("no main window");
    if (!WaitFor(timeout, [&] { return (IsIconic(w) != FALSE) == wanted; }))
        return Fail(wanted ? "window not minimized" : "window still minimized");
    std::printf("ok\n");
    return 0;
}

// Screen rectangle of a dialog and of the main window, to check placement.
int CmdDialogRect(const char* caption) {
    HWND d = NeedDialog(caption);
    HWND w = FindMain();
    if (d == nullptr || w == nullptr) return Fail("no dialog " + std::string(caption));
    RECT dr, wr;
    GetWindowRect(d, &dr);
    GetWindowRect(w, &wr);
    std::printf("%ld %ld %ld %ld %ld %ld %ld %ld\n", dr.left, dr.top, dr.right, dr.bottom, wr.left, wr.top, wr.right,
                wr.bottom);
    return 0;
}

// Which of the program's windows is active and which has the focus.
int CmdFocusInfo() {
    HWND w = FindMain();
    if (w == nullptr) return Fail("no main window");
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info)) return Fail("no thread info");
    auto name = [](HWND h) { return h == nullptr ? std::string("none") : TextOf(h) + "/" + std::to_string(reinterpret_cast<uintptr_t>(h)); };
    std::printf("active=%s focus=%s main=%s foreground=%s\n", name(info.hwndActive).c_str(), name(info.hwndFocus).c_str(),
                name(w).c_str(), name(GetForegroundWindow()).c_str());
    return 0;
}

// Runs one request of qivprobe.dll inside the program: the library is
// loaded there by a message hook on the program's user-interface thread,
// the probe message is posted to the main window, and the hook answers in
// the shared block. `fill` sets the request; `read` takes the answer. With
// `between`, two requests are made in one hook session (the library stays
// loaded in between): `fill` for the first, then `between` runs here, then
// `fill2` for the second.
struct ProbeSession {
    HANDLE mapping = nullptr;
    HANDLE done = nullptr;
    HMODULE probe = nullptr;
    HHOOK hook = nullptr;
    ProbeBlock* block = nullptr;
    HWND window = nullptr;

    ~ProbeSession() {
        if (hook != nullptr) UnhookWindowsHookEx(hook);
        if (block != nullptr) UnmapViewOfFile(block);
        if (probe != nullptr) FreeLibrary(probe);
        if (done != nullptr) CloseHandle(done);
        if (mapping != nullptr) CloseHandle(mapping);
    }

    // An empty string when the hook is in place.
    std::string Open() {
        window = FindMain();
        if (window == nullptr) return "no main window";
        mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ProbeBlock),
                                     ProbeMappingName);
        done = CreateEventA(nullptr, FALSE, FALSE, ProbeDoneName);
        probe = LoadLibraryA("qivprobe.dll");
        FARPROC hookProc = probe != nullptr ? GetProcAddress(probe, "QivProbeHook") : nullptr;
        void* view =
            mapping != nullptr ? MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeBlock)) : nullptr;
        block = static_cast<ProbeBlock*>(view);
        if (block == nullptr || done == nullptr || hookProc == nullptr)
            return "no probe (qivprobe.dll beside qivdrive.exe?)";
        hook = SetWindowsHookExA(WH_GETMESSAGE, reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(hookProc)), probe,
                                 GetWindowThreadProcessId(window, nullptr));
        if (hook == nullptr) return "cannot hook the program";
        return "";
    }

    // Posts the probe message and waits for the answer.
    bool Ask(int request) {
        block->request = request;
        PostMessageA(window, RegisterWindowMessageA(ProbeMessageName), 0, 0);
        return WaitForSingleObject(done, AnswerCeilingMs) == WAIT_OBJECT_0;
    }
};

// The states of main menu items by command number, in the order given:
// "enabled" or "grayed" each, or "no menu" while the menu bar is hidden. A
// menu belongs to its process, so qivprobe.dll reads it from inside the
// program (see qivprobe.h).
int CmdMenuState(int argc, char** argv, int first) {
    const int count = argc - first;
    if (count > ProbeMaxItems) return Fail("too many items");
    ProbeSession session;
    const std::string error = session.Open();
    if (!error.empty()) return Fail(error);
    ProbeBlock* block = session.block;
    block->count = count;
    for (int i = 0; i < count; ++i) block->ids[i] = static_cast<UINT>(std::strtoul(argv[first + i], nullptr, 10));
    if (!session.Ask(ProbeMenuStates)) return Fail("the program did not answer the probe");
    if (block->hasMenu == 0) {
        std::printf("no menu\n");
        return 0;
    }
    std::string line;
    for (int i = 0; i < count; ++i) {
        const UINT state = block->states[i];
        if (state == ~0u) return Fail(std::string("no menu item ") + argv[first + i]);
        if (!line.empty()) line += " ";
        line += (state & (MF_GRAYED | MF_DISABLED)) != 0 ? "grayed" : "enabled";
    }
    std::printf("%s\n", line.c_str());
    return 0;
}

// Whether every static text of the dialog fits its control as the program
// draws it: "fits N" (N texts measured), else a failure naming each text
// that needs more room. Fonts belong to their process, so qivprobe.dll
// measures inside the program.
int CmdTextFit(const char* caption) {
    HWND d = NeedDialog(caption);
    if (d == nullptr) return Fail("no dialog " + std::string(caption));
    ProbeSession session;
    const std::string error = session.Open();
    if (!error.empty()) return Fail(error);
    session.block->dialog = d;
    if (!session.Ask(ProbeTextFit)) return Fail("the program did not measure");
    if (session.block->misfits != 0) return Fail(session.block->report);
    std::printf("fits %ld\n", static_cast<long>(session.block->measured));
    return 0;
}

// How many paint messages and serial notifications reached the main
// window's procedure in `duration` ms: "paints=N notifies=M".
int CmdCountMessages(DWORD duration) {
    ProbeSession session;
    const std::string error = session.Open();
    if (!error.empty()) return Fail(error);
    if (!session.Ask(ProbeCountStart)) return Fail("the program did not start counting");
    Sleep(duration);
    if (!session.Ask(ProbeCountStop)) return Fail("the program did not stop counting");
    std::printf("paints=%ld notifies=%ld\n", static_cast<long>(session.block->paints),
                static_cast<long>(session.block->notifies));
    return 0;
}

// The first visible top-level window of a class in the program.
HWND WindowOfClass(const char* cls) {
    const DWORD pid = MainProcess();
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w) && HasPrefixClass(w, cls)) return w;
    }
    return nullptr;
}

// A window of the program by class: its client area on the screen (left,
// top, width, height) and its outer rectangle (left, top, right, bottom).
int CmdClassRects(const char* cls, DWORD timeout) {
    HWND w = nullptr;
    if (!WaitFor(timeout, [&] { return (w = WindowOfClass(cls)) != nullptr; }))
        return Fail(std::string("no window of class ") + cls);
    RECT client, outer;
    GetClientRect(w, &client);
    GetWindowRect(w, &outer);
    POINT origin = {0, 0};
    ClientToScreen(w, &origin);
    std::printf("%ld %ld %ld %ld %ld %ld %ld %ld\n", origin.x, origin.y, client.right - client.left,
                client.bottom - client.top, outer.left, outer.top, outer.right, outer.bottom);
    return 0;
}

// What the close box of a window of the program does.
int CmdCloseClass(const char* cls) {
    HWND w = WindowOfClass(cls);
    if (w == nullptr) return Fail(std::string("no window of class ") + cls);
    PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
}

// Visible top-level windows of a class in the program (the analyser
// settings window is no dialog).
int WindowsOfClass(const char* cls) {
    const DWORD pid = MainProcess();
    int n = 0;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w) && HasPrefixClass(w, cls)) ++n;
    }
    return n;
}

int CmdWindowCount(const char* cls) {
    std::printf("%d\n", WindowsOfClass(cls));
    return 0;
}

int CmdWaitWindowCount(const char* cls, int wanted, DWORD timeout) {
    if (!WaitFor(timeout, [&] { return WindowsOfClass(cls) == wanted; }))
        return Fail(std::to_string(WindowsOfClass(cls)) + " windows of class " + cls + ", not " +
                    std::to_string(wanted));
    std::printf("%d\n", wanted);
    return 0;
}

// Whether the main window answers a message: sends it WM_NULL and waits at
// most `timeout` ms. Prints the milliseconds the answer took.
int CmdPing(DWORD timeout) {
    HWND w = FindMain();
    if (w == nullptr) return Fail("no main window");
    const ULONGLONG start = Now();
    DWORD_PTR unused = 0;
    if (!SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, timeout, &unused))
        return Fail("no answer within " + std::to_string(timeout) + " ms");
    std::printf("%llu\n", Now() - start);
    return 0;
}

// Pings the main window every `interval` ms for `duration` ms, or until the
// window is gone, and writes "<unix ms>\t<ms the answer took>" per check to
// `path` ("<unix ms>\tnone" when none came within 5 s). Prints the number
// of checks, the slowest answer and the longest time between two checks.
int CmdPingWatch(const char* path, DWORD interval, DWORD duration) {
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return Fail("cannot write " + std::string(path));
    HWND w = nullptr;
    if (!WaitFor(5000, [&] { return (w = FindMain()) != nullptr; })) {
        std::fclose(f);
        return Fail("no main window");
    }
    const ULONGLONG start = Now();
    ULONGLONG last = 0, slowest = 0, widest = 0;
    int checks = 0;
    bool silent = false;
    for (ULONGLONG next = start; Now() - start < duration && IsWindow(w); next += interval) {
        const ULONGLONG at = Now();
        if (checks > 0 && at - last > widest) widest = at - last;
        last = at;
        DWORD_PTR unused = 0;
        const bool answered = SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &unused) != 0;
        const ULONGLONG took = Now() - at;
        if (!answered && !IsWindow(w)) break;  // the program ended meanwhile
        ++checks;
        if (answered) {
            std::fprintf(f, "%lld\t%llu\n", UnixMs(), took);
            if (took > slowest) slowest = took;
        } else {
            std::fprintf(f, "%lld\tnone\n", UnixMs());
            silent = true;
        }
        std::fflush(f);
        const ULONGLONG now = Now();
        if (next + interval > now) Sleep(static_cast<DWORD>(next + interval - now));
        else next = now - interval;  // late: the next check follows at once
    }
    std::fclose(f);
    std::printf("%d %s %llu\n", checks, silent ? "none" : std::to_string(slowest).c_str(), widest);
    return 0;
}

// The title of a window of the program by class, in UTF-8 (the help
// window's titles are German or English whatever the code page), once it
// contains `text`; the last title seen when it never does.
int CmdWaitClassTitle(const char* cls, const char* text, DWORD timeout) {
    std::string title;
    auto current = [&] {
        HWND w = WindowOfClass(cls);
        if (w == nullptr) return false;
        wchar_t wide[512] = {};
        GetWindowTextW(w, wide, 512);
        char utf8[1536] = {};
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
        title = utf8;
        return title.find(text) != std::string::npos;
    };
    if (!WaitFor(timeout, current)) return Fail(std::string("title of ") + cls + " is \"" + title + "\"");
    std::printf("%s\n", title.c_str());
    return 0;
}

// Gives a window of the program the activation and the keyboard focus, as
// a click on it would, for real keys typed into it.
int CmdActivateClass(const char* cls) {
    HWND w = WindowOfClass(cls);
    if (w == nullptr) return Fail(std::string("no window of class ") + cls);
    SetForegroundWindow(w);
    return WaitFor(3000, [&] { return GetForegroundWindow() == w; }) ? 0 : Fail("not in the foreground");
}

// Suspends or resumes the program's threads named `name` (the port's event
// thread names itself), so that a test can make a thread that does not end
// in time. Prints how many threads it found.
int CmdThread(const char* name, bool suspend) {
    using GetDescription = HRESULT(WINAPI*)(HANDLE, PWSTR*);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto get = reinterpret_cast<GetDescription>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GetThreadDescription")));
    const DWORD pid = MainProcess();
    if (get == nullptr || pid == 0) return Fail("no program, or no thread names here");
    wchar_t wanted[64] = {};
    MultiByteToWideChar(CP_ACP, 0, name, -1, wanted, 64);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return Fail("no thread snapshot");
    int found = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != pid) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION | THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
        if (thread == nullptr) continue;
        PWSTR description = nullptr;
        if (SUCCEEDED(get(thread, &description)) && description != nullptr && lstrcmpW(description, wanted) == 0) {
            const DWORD previous = suspend ? SuspendThread(thread) : ResumeThread(thread);
            if (previous != static_cast<DWORD>(-1)) ++found;
        }
        if (description != nullptr) LocalFree(description);
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    std::printf("%d\n", found);
    return found > 0 ? 0 : Fail(std::string("no thread named ") + name);
}

int Usage() {
    std::fprintf(stderr,
                 "usage: qivdrive COMMAND ...\n"
                 "  wait-window MS | title | wait-title TEXT MS | wait-title-not TEXT MS\n"
                 "  time-between TEXT1 TEXT2 MS | watch-title FILE MS | count\n"
                 "  command ID | syscommand ID | send-syscommand ID | post MSG WPARAM | close | exit-time MS\n"
                 "  wait-exit MS\n"
                 "  wait-dialog CAPTION MS | wait-no-dialog CAPTION MS\n"
                 "  set-text CAPTION ID TEXT | get-text CAPTION ID | select CAPTION ID INDEX\n"
                 "  cursel CAPTION ID | items CAPTION ID | click CAPTION ID | dblclick CAPTION ID\n"
                 "  press CAPTION ID | wait-text CAPTION ID TEXT[*] MS\n"
                 "  message-box TEXT MS | answer TEXT BUTTON MS\n"
                 "  client-size | window-rect | move-window X Y | client-rect | has-menu | wait-menu MS\n"
                 "  wait-no-menu MS | popup MS | no-popup MS | foreground MS\n"
                 "  focus CAPTION ID | texts CAPTION | text-fit CAPTION | iconic MS | not-iconic MS | dialog-rect CAPTION\n"
                 "  menu-state ID... | window-count CLASS | wait-window-count CLASS N MS | count-messages MS\n"
                 "  class-rects CLASS MS | close-class CLASS | wait-class-title CLASS TEXT MS | activate-class CLASS\n"
                 "  ping MS | ping-watch FILE INTERVAL_MS DURATION_MS | hold-file FILE RELEASE\n"
                 "  suspend-thread NAME | resume-thread NAME\n");
    return 2;
}

// Window and mouse coordinates in the screen's own pixels, as xdotool and
// the program (per-monitor aware) see them, at every DPI.
void BecomeDpiAware() {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    using SetAwareFn = BOOL(WINAPI*)();
    const auto setAware =
        reinterpret_cast<SetAwareFn>(reinterpret_cast<void (*)()>(GetProcAddress(user32, "SetProcessDPIAware")));
    if (setAware != nullptr) setAware();
}

}  // namespace

int main(int argc, char** argv) {
    BecomeDpiAware();
    if (argc < 2) return Usage();
    const std::string c = argv[1];
    auto arg = [&](int i) -> const char* { return i < argc ? argv[i] : ""; };
    const int n = argc - 2;
    for (int i = 1; i < argc; ++i) gCommand += std::string(" ") + argv[i];
    if (c == "wait-window" && n == 1) return CmdWaitWindow(Ms(arg(2)));
    if (c == "title" && n == 0) return std::printf("%s\n", Title().c_str()), 0;
    if (c == "count" && n == 0) return std::printf("%d\n", CountMain()), 0;
    if (c == "wait-title" && n == 2) return CmdWaitTitle(arg(2), Ms(arg(3)), true);
    if (c == "wait-title-not" && n == 2) return CmdWaitTitle(arg(2), Ms(arg(3)), false);
    if (c == "time-between" && n == 3) return CmdTimeBetween(arg(2), arg(3), Ms(arg(4)));
    if (c == "watch-title" && n == 2) return CmdWatchTitle(arg(2), Ms(arg(3)));
    if (c == "command" && n == 1) return CmdPost(WM_COMMAND, Ms(arg(2)));
    if (c == "syscommand" && n == 1) return CmdPost(WM_SYSCOMMAND, Ms(arg(2)));
    if (c == "send-syscommand" && n == 1) return CmdSendSysCommand(Ms(arg(2)));
    if (c == "close" && n == 0) return CmdPost(WM_CLOSE, 0);
    if (c == "post" && n == 2) return CmdPost(Ms(arg(2)), Ms(arg(3)));
    if (c == "exit-time" && n == 1) return CmdExitTime(Ms(arg(2)));
    if (c == "wait-exit" && n == 1) return CmdWaitExit(Ms(arg(2)));
    if (c == "wait-dialog" && n == 2) return CmdWaitDialog(arg(2), Ms(arg(3)), true);
    if (c == "wait-no-dialog" && n == 2) return CmdWaitDialog(arg(2), Ms(arg(3)), false);
    if (c == "set-text" && n == 3) return CmdSetText(arg(2), std::atoi(arg(3)), arg(4));
    if (c == "get-text" && n == 2) return CmdGetText(arg(2), std::atoi(arg(3)));
    if (c == "select" && n == 3) return CmdSelect(arg(2), std::atoi(arg(3)), std::atoi(arg(4)));
    if (c == "cursel" && n == 2) return CmdCurSel(arg(2), std::atoi(arg(3)));
    if (c == "items" && n == 2) return CmdItems(arg(2), std::atoi(arg(3)));
    if (c == "click" && n == 2) return CmdClick(arg(2), std::atoi(arg(3)), BN_CLICKED);
    if (c == "press" && n == 2) return CmdPress(arg(2), std::atoi(arg(3)));
    if (c == "wait-text" && n == 4) return CmdWaitText(arg(2), std::atoi(arg(3)), arg(4), Ms(arg(5)));
    if (c == "dblclick" && n == 2) return CmdClick(arg(2), std::atoi(arg(3)), LBN_DBLCLK);
    if (c == "message-box" && n == 2) return CmdMessageBox(arg(2), Ms(arg(3)));
    if (c == "answer" && n == 3) return CmdAnswer(arg(2), std::atoi(arg(3)), Ms(arg(4)));
    if (c == "client-size" && n == 0) return CmdClientSize();
    if (c == "window-rect" && n == 0) return CmdWindowRect();
    if (c == "move-window" && n == 2) return CmdMoveWindow(std::atoi(arg(2)), std::atoi(arg(3)));
    if (c == "hold-file" && n == 2) return CmdHoldFile(arg(2), arg(3));
    if (c == "client-rect" && n == 0) return CmdClientRect();
    if (c == "has-menu" && n == 0) return CmdHasMenu();
    if (c == "wait-menu" && n == 1) return CmdWaitMenu(Ms(arg(2)), true);
    if (c == "wait-no-menu" && n == 1) return CmdWaitMenu(Ms(arg(2)), false);
    if (c == "popup" && n == 1) return CmdPopupShown(Ms(arg(2)), true);
    if (c == "no-popup" && n == 1) return CmdPopupShown(Ms(arg(2)), false);
    if (c == "foreground" && n == 1) return CmdForeground(Ms(arg(2)));
    if (c == "focus-info" && n == 0) return CmdFocusInfo();
    if (c == "focus" && n == 2) return CmdFocus(arg(2), std::atoi(arg(3)));
    if (c == "texts" && n == 1) return CmdTexts(arg(2));
    if (c == "text-fit" && n == 1) return CmdTextFit(arg(2));
    if (c == "iconic" && n == 1) return CmdIconic(Ms(arg(2)), true);
    if (c == "not-iconic" && n == 1) return CmdIconic(Ms(arg(2)), false);
    if (c == "dialog-rect" && n == 1) return CmdDialogRect(arg(2));
    if (c == "menu-state" && n >= 1) return CmdMenuState(argc, argv, 2);
    if (c == "window-count" && n == 1) return CmdWindowCount(arg(2));
    if (c == "wait-window-count" && n == 3) return CmdWaitWindowCount(arg(2), std::atoi(arg(3)), Ms(arg(4)));
    if (c == "count-messages" && n == 1) return CmdCountMessages(Ms(arg(2)));
    if (c == "class-rects" && n == 2) return CmdClassRects(arg(2), Ms(arg(3)));
    if (c == "close-class" && n == 1) return CmdCloseClass(arg(2));
    if (c == "wait-class-title" && n == 3) return CmdWaitClassTitle(arg(2), arg(3), Ms(arg(4)));
    if (c == "activate-class" && n == 1) return CmdActivateClass(arg(2));
    if (c == "ping" && n == 1) return CmdPing(Ms(arg(2)));
    if (c == "suspend-thread" && n == 1) return CmdThread(arg(2), true);
    if (c == "resume-thread" && n == 1) return CmdThread(arg(2), false);
    if (c == "ping-watch" && n == 3) return CmdPingWatch(arg(2), Ms(arg(3)), Ms(arg(4)));
    return Usage();
}
