#include "data/TemporaryName.h"

#include <algorithm>

namespace {

std::size_t NameLength(const std::string& target) {
    const auto separator = target.find_last_of("\\/:");
    return separator == std::string::npos ? target.size() : target.size() - separator - 1;
}

// How many characters at the end of the name the counter takes.
std::size_t CounterWidth(const std::string& target) {
    return std::min<std::size_t>(NameLength(target), 4);
}

} // namespace

unsigned TemporaryNameCount(const std::string& target) {
    const std::size_t width = CounterWidth(target);
    if (width == 0)
        return 0;
    return 1u << 4 * (width == 1 ? 1 : width - 1);
}

std::string TemporaryName(const std::string& target, unsigned attempt) {
    const std::size_t width = CounterWidth(target);
    std::string name = target.substr(0, target.size() - width);
    if (width > 1)
        name += '~';
    for (std::size_t digit = width > 1 ? width - 1 : width; digit-- > 0;)
        name += "0123456789abcdef"[attempt >> 4 * digit & 0xF];
    return name;
}
