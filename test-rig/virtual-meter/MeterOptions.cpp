#include "MeterOptions.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

std::string MeterOptions::RecordReply(int record) const {
    auto found = Records.find(record);
    return found == Records.end() ? "9999:9999:9999" : found->second;
}

static void ExitWithUsage() {
    std::fputs("usage: virtual-meter --link PATH [--log FILE] [--id TEXT] [--data FILE]\n"
               "         [--record N=ffff:llll:rrrr]... [--delay MS] [--split MS] [--silent]\n"
               "         [--double]\n"
               "Serves a pseudo-terminal, prints its path and answers STX V ? CR and\n"
               "STX P ? digit CR, each reply --delay MS late on its way (the meter takes the\n"
               "next request meanwhile; replies keep their order). A data file holds lines\n"
               "\"N ffff:llll:rrrr\"; readings not given are 9999. Cues on the line, each\n"
               "ending in CR:\n"
               "  !delay MS  !split MS  !silent 0|1  !double 0|1  !id TEXT\n"
               "  !reset (command-line settings)\n"
               "  !late N MS (replies to record N later still)  !ignore N [COUNT] (leave the\n"
               "  next COUNT requests for record N unanswered, 1 if not given)\n"
               "  !split-next N MS (the next reply to record N in two halves MS apart)\n"
               "  !deaf MS (stop reading a while)  !count (send the count of bytes received)\n"
               "  !stream N (N bytes at once)  !noise N (N bytes without CR)  !stamp (send time)\n"
               "  !dump (send back what came since the last dump)  !hangup (close the line and\n"
               "  serve a new one under the same link)\n",
               stderr);
    std::exit(2);
}

static void LoadDataFile(const std::string& path, MeterOptions& options) {
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "virtual-meter: cannot read %s\n", path.c_str());
        std::exit(2);
    }
    int record;
    std::string readings;
    while (file >> record >> readings)
        options.Records[record] = readings;
}

MeterOptions ParseMeterOptions(int argc, char** argv) {
    MeterOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                ExitWithUsage();
            return argv[++i];
        };
        if (option == "--link")
            options.LinkPath = value();
        else if (option == "--log")
            options.ReceivedLogPath = value();
        else if (option == "--id")
            options.Identification = value();
        else if (option == "--data")
            LoadDataFile(value(), options);
        else if (option == "--record") {
            std::string record = value();
            auto equals = record.find('=');
            if (equals == std::string::npos)
                ExitWithUsage();
            options.Records[std::atoi(record.substr(0, equals).c_str())] =
                record.substr(equals + 1);
        } else if (option == "--delay")
            options.DelayMs = std::atoi(value().c_str());
        else if (option == "--split")
            options.SplitPauseMs = std::atoi(value().c_str());
        else if (option == "--silent")
            options.Silent = true;
        else if (option == "--double")
            options.Double = true;
        else
            ExitWithUsage();
    }
    if (options.LinkPath.empty())
        ExitWithUsage();
    return options;
}
