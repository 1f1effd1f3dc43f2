// Figures of the test report:
//   report_bench scale <form.bmp>            writes form300.bmp: the form at 2480 x 3508, 24 bits
//   report_bench prepare <form.bmp> <runs>   time to prepare one report (load the form, write
//                                            the 18 texts, convert for printing); run.sh takes
//                                            the peak memory of runs 1 and 0 from outside
//   report_bench print <runs>                time of PrintTestReport with the print dialog's OK
//                                            pressed, "protokol.bmp" in the working folder
//   report_bench preview <runs>              time to open the print preview on "protokol.bmp":
//                                            the page composed as Print composes it and its
//                                            first scaled paint; runs 1 and 0 give run.sh the
//                                            peak memory beside Print's
// Figures are printed; nothing is judged. A step that takes longer than a minute stops it.

#include "DialogButton.h"
#include "StepWatch.h"

#include "report/ReportImage.h"
#include "report/TestReport.h"
#include "ui/print_preview/PrintPreview.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const ReportEntries Entries{
    "Jan Example", "Long Street 12", "00-950 Town", "WX 12345",          0,
    "Make",        "Model 3",        "123456",      "Rear lamp cracked", "A. Diagnostician"};
const ReportMeasurement Measurement{"10.12.2026", "06:00:00", "075,3", "070,0", "069,9"};
// The same with a comment of the 255 characters a field keeps, which runs on below its box.
const ReportEntries LongCommentEntries = [] {
    ReportEntries entries = Entries;
    while (entries.Comment.size() < 255)
        entries.Comment += " HEKTOR WX 1234";
    entries.Comment.resize(255);
    return entries;
}();

// Above the slowest step: a print job spooled on a busy machine.
constexpr DWORD WatchLimitMs = 60000;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The form stretched to an A4 page at 300 pixels per inch, saved as a 24-bit bitmap file.
std::string MakeLargeForm(const std::string& form) {
    const int width = 2480, height = 3508;
    const ReportImage source = ReportImage::Load(form);
    const ReportDib dib = source.ConvertToDib();
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP large = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                     &pixels, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, large);
    StretchDIBits(dc, 0, 0, width, height, 0, 0, source.Width(), source.Height(), dib.Bits.data(),
                  dib.Info(), DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
    const DWORD bytes = (width * 3 + 3) / 4 * 4 * height;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + bytes;
    const std::string name = "form300.bmp";
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(static_cast<const char*>(pixels), bytes);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(large);
    if (!out.flush())
        throw std::runtime_error("cannot write " + name);
    return name;
}

int Scale(const std::string& smallForm) {
    std::printf("wrote %s\n", MakeLargeForm(smallForm).c_str());
    return 0;
}

int Prepare(StepWatch& watch, const std::string& form, int runs) {
    if (runs == 0)
        return 0; // the process alone, for the memory baseline
    std::vector<double> load, texts, convert, total, longComment;
    for (int i = 0; i < runs; ++i) {
        watch.Step("prepare, run " + std::to_string(i + 1) + " of " + std::to_string(runs));
        const LARGE_INTEGER t0 = Now();
        ReportImage image = ReportImage::Load(form);
        const LARGE_INTEGER t1 = Now();
        image.WriteTexts(ComposeReportTexts(Entries, Measurement));
        const LARGE_INTEGER t2 = Now();
        const ReportDib dib = image.ConvertToDib();
        const LARGE_INTEGER t3 = Now();
        image.WriteTexts(ComposeReportTexts(LongCommentEntries, Measurement));
        const LARGE_INTEGER t4 = Now();
        load.push_back(Milliseconds(t0, t1));
        texts.push_back(Milliseconds(t1, t2));
        convert.push_back(Milliseconds(t2, t3));
        total.push_back(Milliseconds(t0, t3));
        longComment.push_back(Milliseconds(t3, t4));
        if (i == 0)
            std::printf("form %d x %d, converted: header %zu bytes, pixels %zu bytes\n",
                        image.Width(), image.Height(), dib.Header.size(), dib.Bits.size());
    }
    std::printf("prepare one report, median of %d: %.1f ms (load %.1f, 18 texts %.1f, "
                "conversion %.1f)\n",
                runs, Median(total), Median(load), Median(texts), Median(convert));
    std::printf("the 18 texts with a 255-character comment, median of %d: %.1f ms\n", runs,
                Median(longComment));
    return 0;
}

int Print(StepWatch& watch, int runs) {
    if (runs == 0)
        return 0; // the process alone, for the memory baseline
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        watch.Step("print, run " + std::to_string(i + 1) + " of " + std::to_string(runs));
        PressOnNextDialog print(IDOK);
        const LARGE_INTEGER t0 = Now();
        PrintTestReport(nullptr, {[] { return Entries; }, [] { return Measurement; }});
        times.push_back(Milliseconds(t0, Now()));
        if (!print.Pressed())
            throw std::runtime_error("the print dialog was not shown");
    }
    std::printf("PrintTestReport from the dialog to the spooled job, median of %d: %.1f ms\n", runs,
                Median(times));
    return 0;
}

int Preview(StepWatch& watch, int runs) {
    if (runs == 0)
        return 0; // the process alone, for the memory baseline
    std::vector<double> compose, paint, total;
    for (int i = 0; i < runs; ++i) {
        watch.Step("preview, run " + std::to_string(i + 1) + " of " + std::to_string(runs));
        const LARGE_INTEGER t0 = Now();
        ReportPage page = ComposeReportPage({[] { return Entries; }, [] { return Measurement; }});
        const LARGE_INTEGER t1 = Now();
        const SIZE form{page.Image.Width(), page.Image.Height()};
        TPrintPreview preview(nullptr);
        preview.Show(std::move(page), 1);
        UpdateWindow(preview.Handle);
        GdiFlush();
        const LARGE_INTEGER t2 = Now();
        compose.push_back(Milliseconds(t0, t1));
        paint.push_back(Milliseconds(t1, t2));
        total.push_back(Milliseconds(t0, t2));
        if (i == 0) {
            const RECT shown = preview.PageRect();
            std::printf("preview: page %ld x %ld shown at %ld x %ld\n", form.cx, form.cy,
                        shown.right - shown.left, shown.bottom - shown.top);
        }
    }
    std::printf("open the print preview, median of %d: %.1f ms (compose %.1f, window and "
                "first scaled paint %.1f)\n",
                runs, Median(total), Median(compose), Median(paint));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        StepWatch watch("report benchmark", WatchLimitMs);
        watch.Step(mode);
        if (mode == "scale" && argc == 3)
            return Scale(argv[2]);
        if (mode == "prepare" && argc == 4)
            return Prepare(watch, argv[2], std::atoi(argv[3]));
        if (mode == "print" && argc == 3)
            return Print(watch, std::atoi(argv[2]));
        if (mode == "preview" && argc == 3)
            return Preview(watch, std::atoi(argv[2]));
        std::fprintf(stderr, "usage: report_bench scale <form.bmp> | prepare <form.bmp> <runs> | "
                             "print <runs> | preview <runs>\n");
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "report_bench: %s\n", e.what());
        return 1;
    }
}
