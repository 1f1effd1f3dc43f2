// The Windows half of the end-to-end print tests (print-to-pdf.sh runs it in a folder holding
// protokol.bmp):
//   report_print_probe print          prints a report through the real print dialog (OK pressed)
//   report_print_probe check <pgm>    checks the printed page, rendered to a grey image, against
//                                     the report image of the same values
//   report_print_probe gone <queue>   chooses the queue in Print Setup, says "chosen", waits for
//                                     a line on its input (the queue has been deleted meanwhile),
//                                     then prints a report through the print dialog
//   report_print_probe remove <queue> takes the printer of a deleted queue off the system's list,
//                                     as removing a printer does on Windows (Wine drops it only
//                                     at a later start while a program still uses it)

#include "DialogButton.h"
#include "ReportRaster.h"

#include "report/TestReport.h"
#include <winspool.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

const ReportEntries Entries{
    "Jan Example", "Long Street 12", "00-950 Town", "WX 12345",          2,
    "Make",        "Model 3",        "123456",      "Rear lamp cracked", "A. Diagnostician"};
const ReportMeasurement Measurement{"10.12.2026", "05:58:12", "074,9", "070,0", "071,2"};

int Print() {
    PressOnNextDialog print(IDOK);
    PrintTestReport(nullptr, {[] { return Entries; }, [] { return Measurement; }});
    if (!print.Pressed()) {
        std::fprintf(stderr, "the print dialog was not shown\n");
        return 1;
    }
    return 0;
}

int PrintOnGonePrinter(const std::string& queue) {
    {
        PressOnNextDialog choose(IDOK, [&](HWND dialog) { SelectPrinter(dialog, queue); });
        SetUpPrinter(nullptr);
        if (!choose.Pressed()) {
            std::fprintf(stderr, "the printer set-up dialog was not shown\n");
            return 1;
        }
    }
    std::printf("chosen\n");
    std::fflush(stdout);
    std::string line;
    if (!std::getline(std::cin, line))
        return 1;

    std::string shown;
    PressOnNextDialog print(IDOK, [&](HWND dialog) { shown = SelectedPrinter(dialog); });
    PrintTestReport(nullptr, {[] { return Entries; }, [] { return Measurement; }});
    std::printf("the print dialog showed \"%s\"\n", shown.c_str());
    return print.Pressed() && shown == "WmxPdf" ? 0 : 1;
}

int RemovePrinter(const std::string& queue) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterA(const_cast<char*>(queue.c_str()), &printer, &access))
        return 1;
    const bool removed = DeletePrinter(printer);
    ClosePrinter(printer);
    return removed ? 0 : 1;
}

struct GreyImage {
    int Width = 0;
    int Height = 0;
    std::vector<unsigned char> Pixels;
    int At(int x, int y) const { return Pixels[std::size_t(y) * Width + x]; }
};

GreyImage ReadPgm(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    GreyImage image;
    in >> magic >> image.Width >> image.Height >> maxValue;
    in.get();
    if (magic != "P5" || maxValue != 255 || image.Width <= 0 || image.Height <= 0)
        throw std::runtime_error("not an 8-bit grey PGM: " + fileName);
    image.Pixels.resize(std::size_t(image.Width) * image.Height);
    if (!in.read(reinterpret_cast<char*>(image.Pixels.data()), image.Pixels.size()))
        throw std::runtime_error("PGM cut short: " + fileName);
    return image;
}

// The image shrunk to the page's size: each page pixel gets the mean grey of the image pixels
// that a stretch over the whole page puts on it.
GreyImage ShrinkOntoPage(const Raster& image, int pageWidth, int pageHeight) {
    GreyImage shrunk{pageWidth, pageHeight, {}};
    shrunk.Pixels.resize(std::size_t(pageWidth) * pageHeight);
    for (int py = 0; py < pageHeight; ++py)
        for (int px = 0; px < pageWidth; ++px) {
            const int x0 = px * image.Width / pageWidth, x1 = (px + 1) * image.Width / pageWidth;
            const int y0 = py * image.Height / pageHeight;
            const int y1 = (py + 1) * image.Height / pageHeight;
            long sum = 0, count = 0;
            for (int y = y0; y < std::max(y1, y0 + 1); ++y)
                for (int x = x0; x < std::max(x1, x0 + 1); ++x, ++count) {
                    const std::uint32_t p = image.At(x, y);
                    sum += ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) / 3;
                }
            shrunk.Pixels[std::size_t(py) * pageWidth + px] =
                static_cast<unsigned char>(sum / count);
        }
    return shrunk;
}

// Sum of darkness (255 - grey) over a rectangle.
long Ink(const GreyImage& image, int left, int top, int right, int bottom) {
    long sum = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.Height); ++y)
        for (int x = std::max(left, 0); x < std::min(right, image.Width); ++x)
            sum += 255 - image.At(x, y);
    return sum;
}

// Mean difference of the two images' mean greys over blocks of the given size: small when the
// same picture lies on both, whatever the resampling did to single pixels.
double BlockDifference(const GreyImage& a, const GreyImage& b, int block) {
    double total = 0;
    int blocks = 0;
    for (int y = 0; y + block <= a.Height; y += block)
        for (int x = 0; x + block <= a.Width; x += block, ++blocks)
            total +=
                std::abs(Ink(a, x, y, x + block, y + block) - Ink(b, x, y, x + block, y + block)) /
                double(block * block);
    return total / blocks;
}

int Check(const std::string& pageFile) {
    const GreyImage page = ReadPgm(pageFile);
    const auto texts = ComposeReportTexts(Entries, Measurement);
    ReportImage blankImage = ReportImage::Load(ReportFormFile);
    const Raster blank = ReadRaster(blankImage);
    ReportImage reportImage = ReportImage::Load(ReportFormFile);
    reportImage.WriteTexts(texts);
    const Raster report = ReadRaster(reportImage);
    const GreyImage expected = ShrinkOntoPage(report, page.Width, page.Height);
    const GreyImage blankPage = ShrinkOntoPage(blank, page.Width, page.Height);

    int failures = 0;
    // The page is A4 portrait, and the whole of it shows the report image.
    const double ratio = double(page.Height) / page.Width;
    if (ratio < 1.40 || ratio > 1.43) {
        std::printf("page of %d x %d is not A4 portrait\n", page.Width, page.Height);
        ++failures;
    }
    const double difference = BlockDifference(page, expected, 8);
    std::printf("page %d x %d, mean grey difference from the report image in 8 x 8 blocks %.2f\n",
                page.Width, page.Height, difference);
    if (difference > 3.0) {
        std::printf("the page does not show the report image stretched over it\n");
        ++failures;
    }
    // Each value is on the page where it belongs: the ink it adds to the blank form there is
    // the ink it adds on the report image, give or take what resampling moves by a pixel or two.
    for (std::size_t row = 0; row < ReportTextCount; ++row) {
        const RECT area = TextArea(report.Width, report.Height, row, texts[row]);
        const int margin = 3;
        const int left = area.left * page.Width / report.Width - margin;
        const int right = area.right * page.Width / report.Width + margin;
        const int top = area.top * page.Height / report.Height - margin;
        const int bottom = area.bottom * page.Height / report.Height + margin;
        const long form = Ink(blankPage, left, top, right, bottom);
        const long printed = Ink(page, left, top, right, bottom) - form;
        const long wanted = Ink(expected, left, top, right, bottom) - form;
        if (wanted <= 0 || printed < wanted / 2 || printed > wanted * 3 / 2) {
            std::printf("row %zu \"%s\" is not on the page (ink %ld, wanted %ld)\n", row + 1,
                        texts[row].c_str(), printed, wanted);
            ++failures;
        }
    }
    // The capitals of the registration number are as tall on the page as the face's outlines
    // make them at the report's character height.
    const ReferenceFace face = ReportReferenceFace();
    const std::size_t registrationRow = 5;
    const RECT area =
        TextArea(report.Width, report.Height, registrationRow, texts[registrationRow]);
    int top = page.Height, bottom = 0;
    for (int y = area.top * page.Height / report.Height;
         y < area.bottom * page.Height / report.Height + 1; ++y)
        for (int x = area.left * page.Width / report.Width;
             x < area.right * page.Width / report.Width + 1; ++x)
            if (blankPage.At(x, y) - page.At(x, y) > 128) {
                top = std::min(top, y);
                bottom = std::max(bottom, y + 1);
            }
    const double capitals = double(bottom - top) * report.Height / page.Height;
    std::printf("\"%s\" on the page: capitals %.1f image pixels high; \"%s\" gives %d\n",
                texts[registrationRow].c_str(), capitals, face.Name.c_str(), face.CapitalHeight);
    if (std::abs(capitals - face.CapitalHeight) > face.CapitalHeight * 0.1) {
        std::printf("the capitals on the page are not as tall as the face gives them\n");
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "print" && argc == 2)
            return Print();
        if (mode == "check" && argc == 3)
            return Check(argv[2]);
        if (mode == "gone" && argc == 3)
            return PrintOnGonePrinter(argv[2]);
        if (mode == "remove" && argc == 3)
            return RemovePrinter(argv[2]);
        std::fprintf(stderr, "usage: report_print_probe print | check <page.pgm> | gone <queue> | "
                             "remove <queue>\n");
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "report_print_probe: %s\n", e.what());
        return 1;
    }
}
