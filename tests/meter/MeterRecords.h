#pragma once
// The nine measurements the virtual meter of scripts/virtual-meter.sh holds, as the table shows
// and the store keeps them. Each record's front reading is its own.

#include <string>

struct Expected {
    const char* Front;
    const char* Left;
    const char* Right;
    float FrontValue, LeftValue, RightValue;
};
inline const Expected MeterRecords[9] = {
    {"075,3", "070,0", "069,9", 753, 700, 699}, {"-----", "070,0", "070,0", 9999, 700, 700},
    {"075,0", "070,0", "070,0", 750, 700, 700}, {"081,2", "074,5", "073,3", 812, 745, 733},
    {"060,0", "071,0", "072,0", 600, 710, 720}, {"075,1", "070,1", "070,2", 751, 701, 702},
    {"090,0", "088,0", "087,0", 900, 880, 870}, {"074,9", "070,0", "070,0", 749, 700, 700},
    {"077,7", "070,5", "068,8", 777, 705, 688},
};

// The record whose front reading the text shows; 0 for none of them.
inline int RecordReading(const std::string& front) {
    for (int r = 1; r <= 9; ++r) {
        if (front == MeterRecords[r - 1].Front)
            return r;
    }
    return 0;
}
