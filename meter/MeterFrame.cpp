#include "meter/MeterFrame.h"

std::uint16_t BuildIdentificationRequest(FrameBuffer& request) {
    request[0] = Stx;
    request[1] = 'V';
    request[2] = '?';
    request[3] = Cr;
    return 4;
}

std::uint16_t BuildMeasurementRequest(FrameBuffer& request, std::uint8_t record) {
    request[0] = Stx;
    request[1] = 'P';
    request[2] = '?';
    request[3] = static_cast<std::uint8_t>(record | 0x30);
    request[4] = Cr;
    return 5;
}
