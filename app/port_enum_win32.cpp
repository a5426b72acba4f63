#include "app/port_enum_win32.h"

#include <windows.h>
#include <devguid.h>
#include <setupapi.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

// Every port driver enters its ports here while they are present; its
// values are "\Device\..." = "COMn".
void AddDeviceMap(std::vector<SystemPort>* ports) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0;; ++i) {
        wchar_t valueName[256];
        wchar_t data[64];
        DWORD nameLength = sizeof valueName / sizeof valueName[0];
        DWORD dataBytes = sizeof data - sizeof data[0];  // room for a terminator the registry may leave out
        DWORD type = 0;
        const LONG r = RegEnumValueW(key, i, valueName, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data),
                                     &dataBytes);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS || type != REG_SZ) continue;
        data[dataBytes / sizeof data[0]] = L'\0';
        ports->push_back({Utf8(data), std::string()});
    }
    RegCloseKey(key);
}

// Friendly names of the present devices of the Ports class, matched by the
// PortName value of each device's key.
void AddFriendlyNames(std::vector<SystemPort>* ports) {
    HDEVINFO devices = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) return;
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(devices, i, &info); ++i) {
        HKEY key = SetupDiOpenDevRegKey(devices, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) continue;
        wchar_t portName[64] = {};
        DWORD bytes = sizeof portName - sizeof portName[0];
        DWORD type = 0;
        const LONG r = RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(portName), &bytes);
        RegCloseKey(key);
        if (r != ERROR_SUCCESS || type != REG_SZ) continue;
        wchar_t friendly[256] = {};
        if (!SetupDiGetDeviceRegistryPropertyW(devices, &info, SPDRP_FRIENDLYNAME, nullptr,
                                               reinterpret_cast<BYTE*>(friendly), sizeof friendly - sizeof friendly[0],
                                               nullptr))
            continue;
        const std::string name = Utf8(portName);
        bool known = false;
        for (SystemPort& p : *ports) {
            if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, p.name.c_str(), -1, name.c_str(), -1) == CSTR_EQUAL) {
                p.friendlyName = Utf8(friendly);
                known = true;
            }
        }
        // A present device the map does not list yet still gets offered.
        if (!known) ports->push_back({name, Utf8(friendly)});
    }
    SetupDiDestroyDeviceInfoList(devices);
}

}  // namespace

std::vector<SystemPort> ListSystemPorts() {
    std::vector<SystemPort> ports;
    AddDeviceMap(&ports);
    AddFriendlyNames(&ports);
    return ports;
}
