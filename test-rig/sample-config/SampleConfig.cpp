// Writes a measurement file with nine measurements and a customer, always the same bytes, so
// that the program opens with a full window: sample-config <file>.
#include "data/MeasurementRecord.h"
#include "data/ReadingValue.h"

#include <cstdio>
#include <string>

namespace {

struct Sample {
    const char* Date;
    const char* Time;
    const char* Front;
    const char* Left;
    const char* Right;
    const char* RegistrationNo;
    int VehicleType;
    const char* Make;
    const char* Model;
    const char* Mileage;
    const char* Comment;
};

const Sample Samples[MeasurementSet::SlotCount] = {
    {"2026-03-02", "08:14:05", "078,4", "072,1", "071,9", "KR 4471C", 0, "Vela", "S3", "128400",
     "no film"},
    {"2026-03-02", "08:31:40", "076,0", "068,3", "069,0", "KR 9O215", 0, "Ordan", "Line", "94210",
     "film on side windows"},
    {"2026-03-02", "09:02:11", "081,2", "079,8", "080,1", "KRA 33J7", 1, "Tarko", "Cargo 35",
     "301877", ""},
    {"2026-03-02", "09:47:56", "074,6", "073,2", "072,8", "KR 1G5T2", 0, "Lumen", "Sedan", "166020",
     "windscreen tinted strip"},
    {"2026-03-02", "10:20:33", "-----", "070,4", "070,0", "KWI 77AX", 3, "Dravo", "Van", "212300",
     "front not measured"},
    {"2026-03-02", "11:05:09", "083,9", "035,5", "036,1", "KR 58812", 0, "Nemra", "GT", "77400",
     "dark film, rear side"},
    {"2026-03-02", "11:38:47", "079,0", "071,7", "071,2", "KRA 1PP40", 2, "Kestra", "City 12",
     "540112", ""},
    {"2026-03-02", "12:12:26", "077,5", "074,9", "075,3", "KR 0T8U1", 0, "Solin", "Hatch", "48950",
     ""},
    {"2026-03-02", "12:40:02", "075,0", "070,0", "069,9", "KMY 6H43", 0, "Marvo", "Compact",
     "203311", "borderline"},
};

std::string Verdict(const MeasurementRecord& r) {
    const bool positive = ReadingValue(GetText(r.FrontText)) >= 750 &&
                          ReadingValue(GetText(r.LeftText)) >= 700 &&
                          ReadingValue(GetText(r.RightText)) >= 700;
    return positive ? "positive" : "negative";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: sample-config <file>\n");
        return 2;
    }
    static MeasurementSet store{};
    SetText(store.Slot(1).CustomerName, "Stacja Kontroli Pojazdow nr 3");
    SetText(store.Slot(1).CustomerAddress1, "ul. Przemyslowa 12");
    SetText(store.Slot(1).CustomerAddress2, "30-701 Krakow");
    for (unsigned n = 1; n <= MeasurementSet::SlotCount; ++n) {
        const Sample& s = Samples[n - 1];
        MeasurementRecord& r = store.Slot(n);
        SetText(r.DateText, s.Date);
        SetText(r.TimeText, s.Time);
        SetText(r.FrontText, s.Front);
        SetText(r.LeftText, s.Left);
        SetText(r.RightText, s.Right);
        SetText(r.RegistrationNo, s.RegistrationNo);
        r.VehicleType = s.VehicleType;
        SetText(r.Make, s.Make);
        SetText(r.Model, s.Model);
        SetText(r.Mileage, s.Mileage);
        SetText(r.Comment, s.Comment);
        SetText(r.Diagnostician, "J. Nowicki");
        SetText(r.Verdict, Verdict(r));
    }
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(&store, sizeof store, 1, file) != 1 || std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
