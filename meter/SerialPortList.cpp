#include "meter/SerialPortList.h"

#include <algorithm>
#include <vector>

namespace {

// A value's string data up to its first NUL (the registry does not promise a terminator).
std::string StringData(DWORD type, const std::vector<char>& data, DWORD size) {
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return {};
    const auto last = data.begin() + std::min<std::size_t>(size, data.size());
    const auto end = std::find(data.begin(), last, '\0');
    return std::string(data.begin(), end);
}

} // namespace

bool ReadPortNames(PortTable& ports, HKEY root, const char* subKey) {
    ports.PortCount = 0;
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;

    DWORD valueCount = 0, longestName = 0, largestData = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
                         &longestName, &largestData, nullptr, nullptr) == ERROR_SUCCESS) {
        std::vector<char> name(longestName + 1);
        std::vector<char> data(largestData + 1);
        const DWORD count = std::min<DWORD>(valueCount, PortTable::MaxPorts);
        for (DWORD i = 0; i < count; ++i) {
            DWORD nameLength = static_cast<DWORD>(name.size());
            DWORD type = 0;
            DWORD size = static_cast<DWORD>(data.size());
            if (RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
                break;
            std::string port = StringData(type, data, size);
            port.resize(std::min(port.size(), PortTable::MaxNameLength));
            ports.PortNames[i] = std::move(port);
            ports.PortCount = static_cast<std::uint8_t>(i + 1);
        }
    }
    RegCloseKey(key);
    return true;
}
