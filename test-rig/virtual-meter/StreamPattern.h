// The byte sequence of the virtual meter's long stream, so that a receiver can check each byte.
#pragma once
#include <cstdint>

class StreamPattern {
  public:
    uint8_t Next() {
        State = State * 1103515245u + 12345u;
        return static_cast<uint8_t>(State >> 16);
    }

  private:
    uint32_t State = 1;
};
