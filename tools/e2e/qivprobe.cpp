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
