// Saves a measurement file as the program does, with the first customer name changed to
// "saved": save_probe <file.wmx>. The permissions test looks at what the save left behind.
#include "data/MeasurementFile.h"

#include <cstdio>
#include <exception>
#include <memory>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: save_probe <file.wmx>\n");
        return 2;
    }
    auto store = std::make_unique<MeasurementSet>();
    try {
        ReadMeasurementFile(argv[1], *store);
        SetText(store->Slot(1).CustomerName, "saved");
        WriteMeasurementFile(argv[1], *store);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "save_probe: %s\n", error.what());
        return 1;
    }
    return 0;
}
