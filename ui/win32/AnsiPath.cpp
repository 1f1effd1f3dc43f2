#include "ui/win32/AnsiPath.h"

namespace {

// The text in the code page, or nothing when a character of it has no place there. Converting
// back tells a loss the same way in every code page: some refuse the flags and the lost-character
// report that others need to show one (UTF-8 takes neither), and by default the others put a
// look-alike in place of a character they lack ("L" for "Ł") and report nothing.
std::optional<std::string> Encoded(const std::wstring& text, UINT codePage) {
    if (text.empty())
        return std::string();
    const int wideLength = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(codePage, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::nullopt;
    std::string bytes(length, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), wideLength, bytes.data(), length, nullptr,
                        nullptr);
    const int backLength = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::wstring back(backLength > 0 ? backLength : 0, L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, back.data(), backLength);
    if (back != text)
        return std::nullopt;
    return bytes;
}

std::optional<std::wstring> ShortPath(const std::wstring& path) {
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring shortPath(size, L'\0');
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (length == 0 || length >= size)
        return std::nullopt;
    shortPath.resize(length);
    return shortPath;
}

} // namespace

std::optional<std::string> AnsiPath(const std::wstring& path, UINT codePage) {
    if (std::optional<std::string> whole = Encoded(path, codePage))
        return whole;
    // Where the volume keeps no short names the system gives the long path back, which the code
    // page still cannot hold.
    const std::optional<std::wstring> shortPath = ShortPath(path);
    if (!shortPath)
        return std::nullopt;
    return Encoded(*shortPath, codePage);
}

std::string ShownText(const std::wstring& text, UINT codePage) {
    std::string shown;
    for (std::size_t i = 0; i < text.size();) {
        // A character outside the basic plane takes two code units.
        const bool pair =
            IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]);
        const std::size_t units = pair ? 2 : 1;
        shown += Encoded(text.substr(i, units), codePage).value_or("?");
        i += units;
    }
    return shown;
}

std::wstring WideText(const std::string& text, UINT codePage) {
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    std::wstring wide(wideLength > 0 ? wideLength : 0, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), wideLength);
    return wide;
}
