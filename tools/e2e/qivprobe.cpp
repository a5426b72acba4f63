// qivprobe.dll: qivdrive's eyes inside qiv72rc.exe. A window's menu can be
// read only by its own process, so qivdrive hooks the program's
// user-interface thread with this library, posts it the probe message, and
// the hook, now running in the program, writes the states of the asked
// menu items into a shared block and signals that they are there.
#include <windows.h>

#include "tools/e2e/qivprobe.h"

// Built without the C runtime, so that the library has no thread-local
// storage: Wine 8 crashes giving a late-loaded library's storage to the
// threads already running (seen once the port's event thread runs).
extern "C" BOOL WINAPI DllEntry(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" __declspec(dllexport) LRESULT CALLBACK QivProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg != nullptr &&
        msg->message == RegisterWindowMessageA(ProbeMessageName)) {
        HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, ProbeMappingName);
        void* view = mapping != nullptr ? MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeBlock)) : nullptr;
        if (view != nullptr) {
            ProbeBlock* block = static_cast<ProbeBlock*>(view);
            HMENU menu = GetMenu(msg->hwnd);
            block->hasMenu = menu != nullptr ? 1 : 0;
            for (int i = 0; i < block->count && i < ProbeMaxItems; ++i)
                block->states[i] = menu != nullptr ? GetMenuState(menu, block->ids[i], MF_BYCOMMAND) : ~0u;
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
