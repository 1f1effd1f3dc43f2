#include "meter/PortDeviceNames.h"
#include "system/SystemFunction.h"

#include <windows.h>

#include <setupapi.h>

namespace {

// The device functions, found at the first Connect: start-up does not wait for their library,
// and a system without them lists its ports by their names alone.
struct DeviceFunctions {
    SystemFunction<decltype(&SetupDiGetClassDevsA)> GetClassDevs{"setupapi.dll",
                                                                 "SetupDiGetClassDevsA"};
    SystemFunction<decltype(&SetupDiEnumDeviceInfo)> EnumDeviceInfo{"setupapi.dll",
                                                                    "SetupDiEnumDeviceInfo"};
    SystemFunction<decltype(&SetupDiOpenDevRegKey)> OpenDevRegKey{"setupapi.dll",
                                                                  "SetupDiOpenDevRegKey"};
    SystemFunction<decltype(&SetupDiGetDeviceRegistryPropertyA)> GetRegistryProperty{
        "setupapi.dll", "SetupDiGetDeviceRegistryPropertyA"};
    SystemFunction<decltype(&SetupDiDestroyDeviceInfoList)> DestroyDeviceInfoList{
        "setupapi.dll", "SetupDiDestroyDeviceInfoList"};

    bool Found() const {
        return GetClassDevs.Get() && EnumDeviceInfo.Get() && OpenDevRegKey.Get() &&
               GetRegistryProperty.Get() && DestroyDeviceInfoList.Get();
    }
};

// The Ports device class (COM and LPT ports).
constexpr GUID PortsClass = {
    0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

// The port name a device of the class is opened under, from its device key; empty for none.
std::string PortNameOf(const DeviceFunctions& setup, HDEVINFO devices, SP_DEVINFO_DATA& device) {
    HKEY key = setup.OpenDevRegKey.Get()(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV,
                                         KEY_QUERY_VALUE);
    if (key == INVALID_HANDLE_VALUE)
        return {};
    char name[256] = "";
    DWORD size = sizeof name - 1;
    DWORD type = 0;
    const bool read = RegQueryValueExA(key, "PortName", nullptr, &type,
                                       reinterpret_cast<BYTE*>(name), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return read && type == REG_SZ ? name : "";
}

} // namespace

PortDeviceNames ReadPortDeviceNames() {
    static const DeviceFunctions setup;
    PortDeviceNames names;
    if (!setup.Found())
        return names;
    HDEVINFO devices = setup.GetClassDevs.Get()(&PortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return names;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; setup.EnumDeviceInfo.Get()(devices, i, &device); ++i) {
        const std::string port = PortNameOf(setup, devices, device);
        char friendly[256] = "";
        if (!port.empty() && setup.GetRegistryProperty.Get()(
                                 devices, &device, SPDRP_FRIENDLYNAME, nullptr,
                                 reinterpret_cast<BYTE*>(friendly), sizeof friendly - 1, nullptr))
            names[port] = friendly;
    }
    setup.DestroyDeviceInfoList.Get()(devices);
    return names;
}
