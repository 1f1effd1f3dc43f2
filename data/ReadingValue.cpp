#include "data/ReadingValue.h"

#include <algorithm>

namespace {
constexpr float NoValue = 9999.0f;
}

float ReadingValue(std::string_view text) {
    if (!text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c == '-'; }))
        return NoValue;
    float value = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            value = value * 10 + static_cast<float>(c - '0');
    }
    return value;
}
