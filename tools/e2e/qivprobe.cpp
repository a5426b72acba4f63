// qivprobe.dll: qivdrive's eyes inside qiv72rc.exe. A window's menu can be
// read only by its own process, so qivdrive hooks the program's
// user-interface thread with this library, posts it the probe message, and
// the hook, now running in the program, writes the states of the asked
// menu items into a shared block and signals that they are there. For a
// count of the main window's messages the hook puts a counting procedure in
// front of the window's own between a start and a stop request, both made
// while the hook (and so this library) stays loaded.
#include <windows.h>

#include "tools/e2e/qivprobe.h"

// Built without the C runtime, so that the library has no thread-local
// storage: Wine 8 crashes giving a late-loaded library's storage to the
// threads already running (seen once the port's event thread runs).
extern "C" BOOL WINAPI DllEntry(HINSTANCE, DWORD, LPVOID) { return TRUE; }

namespace {

// The count, in the program's user-interface thread only.
WNDPROC CountedProc = nullptr;
HWND CountedWindow = nullptr;
LONG Paints = 0, Notifies = 0;

constexpr UINT CommNotify = 0x0044;  // WM_COMMNOTIFY

LRESULT CALLBACK CountingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) ++Paints;
    if (msg == CommNotify) ++Notifies;
    return CallWindowProcA(CountedProc, window, msg, wParam, lParam);
}

void StartCount(HWND window) {
    if (CountedProc != nullptr) return;
    Paints = Notifies = 0;
    CountedWindow = window;
    CountedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
}

void StopCount(ProbeBlock* block) {
    if (CountedProc != nullptr && IsWindow(CountedWindow))
        SetWindowLongPtrA(CountedWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountedProc));
    CountedProc = nullptr;
    CountedWindow = nullptr;
    block->paints = Paints;
    block->notifies = Notifies;
}

void ReadMenuStates(HWND window, ProbeBlock* block) {
    HMENU menu = GetMenu(window);
    block->hasMenu = menu != nullptr ? 1 : 0;
    for (int i = 0; i < block->count && i < ProbeMaxItems; ++i)
        block->states[i] = menu != nullptr ? GetMenuState(menu, block->ids[i], MF_BYCOMMAND) : ~0u;
}

// Each static text drawn as the control draws it (its font, word breaks for
// the wrapping styles) must fit its client area.
void MeasureTexts(ProbeBlock* block) {
    block->measured = block->misfits = 0;
    block->report[0] = '\0';
    for (HWND c = GetWindow(block->dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[16] = {};
        GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0) continue;
        char text[256] = {};
        if (GetWindowTextA(c, text, sizeof text) <= 0) continue;
        const LONG style = GetWindowLongA(c, GWL_STYLE);
        const LONG kind = style & SS_TYPEMASK;
        if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT && kind != SS_LEFTNOWORDWRAP) continue;
        RECT client = {};
        GetClientRect(c, &client);
        HDC dc = GetDC(c);
        if (dc == nullptr) continue;
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(c, WM_GETFONT, 0, 0)));
        RECT need = {0, 0, client.right, 0};
        UINT flags = DT_CALCRECT | DT_EXPANDTABS | (kind == SS_LEFTNOWORDWRAP ? 0u : DT_WORDBREAK);
        if ((style & SS_NOPREFIX) != 0) flags |= DT_NOPREFIX;
        DrawTextA(dc, text, -1, &need, flags);
        SelectObject(dc, old);
        ReleaseDC(c, dc);
        ++block->measured;
        if (need.right <= client.right && need.bottom <= client.bottom) continue;
        ++block->misfits;
        char line[400];
        wsprintfA(line, "%s: needs %ldx%ld in %ldx%ld; ", text, need.right, need.bottom, client.right, client.bottom);
        if (lstrlenA(block->report) + lstrlenA(line) < ProbeReportSize) lstrcatA(block->report, line);
    }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK QivProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg != nullptr &&
        msg->message == RegisterWindowMessageA(ProbeMessageName)) {
        HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, ProbeMappingName);
        void* view = mapping != nullptr ? MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeBlock)) : nullptr;
        if (view != nullptr) {
            ProbeBlock* block = static_cast<ProbeBlock*>(view);
            switch (block->request) {
                case ProbeCountStart: StartCount(msg->hwnd); break;
                case ProbeCountStop: StopCount(block); break;
                case ProbeTextFit: MeasureTexts(block); break;
                default: ReadMenuStates(msg->hwnd, block); break;
            }
            UnmapViewOfFile(view);
            HANDLE done = OpenEventA(EVENT_MODIFY_STATE, FALSE, ProbeDoneName);
            if (done != nullptr) {
                SetEvent(done);
                CloseHandle(done);
            }
        }
        if (mapping != nullptr) CloseHandle(mapping);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
