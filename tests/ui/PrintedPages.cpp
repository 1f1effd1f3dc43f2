#include "PrintedPages.h"

#include "MessagePump.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

// Long enough for a job through the queue on a machine loaded with other work.
constexpr DWORD ArrivalLimitMs = 20000;

// The queue's folder, a path of the Linux side.
std::string PdfFolder() {
    char folder[MAX_PATH] = "";
    GetEnvironmentVariableA("WMX_PDF_DIR", folder, MAX_PATH);
    return folder;
}

// The names of the files in the queue's folder that match the pattern.
std::set<std::string> FilesLike(const std::string& pattern) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(("Z:" + PdfFolder() + "/" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A binary 8-bit colour PNM (P6) file's pixels as 0x00RRGGBB, rows in the file's order.
struct Samples {
    int Width = 0, Height = 0;
    std::vector<DWORD> Pixels;
};
std::optional<Samples> ReadPpm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    Samples image;
    int maxValue = 0;
    in >> magic >> image.Width >> image.Height >> maxValue;
    in.get();
    if (!in || magic != "P6" || maxValue != 255 || image.Width <= 0 || image.Height <= 0)
        return std::nullopt;
    std::vector<unsigned char> bytes(std::size_t(image.Width) * image.Height * 3);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size())))
        return std::nullopt;
    image.Pixels.resize(std::size_t(image.Width) * image.Height);
    for (std::size_t i = 0; i < image.Pixels.size(); ++i)
        image.Pixels[i] =
            DWORD(bytes[3 * i]) << 16 | DWORD(bytes[3 * i + 1]) << 8 | bytes[3 * i + 2];
    return image;
}

// [a b c d e f], as PDF writes it: takes the image's unit square onto the page, the first row of
// samples lying at the square's top.
using Matrix = std::array<double, 6>;

// Where a page's content draws its one image; none when it draws none or more than one. Only the
// operators that place an image matter here: the others are passed over with their operands.
std::optional<Matrix> ImagePlacement(const std::string& content) {
    Matrix ctm{1, 0, 0, 1, 0, 0};
    std::vector<Matrix> saved;
    std::vector<double> operands;
    std::optional<Matrix> placed;
    int drawn = 0;
    std::istringstream tokens(content);
    for (std::string token; tokens >> token;) {
        std::istringstream number(token);
        double value = 0;
        if (number >> value && number.eof()) {
            operands.push_back(value);
            continue;
        }
        if (token == "q") {
            saved.push_back(ctm);
        } else if (token == "Q" && !saved.empty()) {
            ctm = saved.back();
            saved.pop_back();
        } else if (token == "cm" && operands.size() >= 6) {
            const double* m = &operands[operands.size() - 6];
            ctm = {m[0] * ctm[0] + m[1] * ctm[2],          m[0] * ctm[1] + m[1] * ctm[3],
                   m[2] * ctm[0] + m[3] * ctm[2],          m[2] * ctm[1] + m[3] * ctm[3],
                   m[4] * ctm[0] + m[5] * ctm[2] + ctm[4], m[4] * ctm[1] + m[5] * ctm[3] + ctm[5]};
        } else if (token == "Do") {
            placed = ctm;
            ++drawn;
        }
        operands.clear();
    }
    return drawn == 1 ? placed : std::nullopt;
}

} // namespace

PrintedPages::PrintedPages() : Before(FilesLike("*.pdf")) {}

void PrintedPages::Take(std::optional<ScreenPicture>& page) {
    std::string pdf;
    // The queue moves each PDF into its folder once it is complete.
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (const std::string& name : FilesLike("*.pdf"))
                if (!Before.contains(name))
                    pdf = name;
            return !pdf.empty();
        },
        ArrivalLimitMs))
        << "nothing was printed";
    Before.insert(pdf);

    const std::string unixPath = PdfFolder() + "/" + pdf;
    std::string command = "\"" WMX_PRINTED_PAGE "\" \"" + unixPath + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
        << command << ": error " << GetLastError();
    // Wine starts a Linux program without a process to wait for: its status file is the event.
    if (process.hProcess) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    const std::string path = "Z:" + unixPath;
    ASSERT_TRUE(PumpUntil(
        [&] { return GetFileAttributesA((path + ".status").c_str()) != INVALID_FILE_ATTRIBUTES; },
        ArrivalLimitMs))
        << command << " did not finish";

    const std::string status = ReadText(path + ".status");
    const std::optional<Matrix> placement = ImagePlacement(ReadText(path + ".content"));
    const std::set<std::string> images = FilesLike(pdf + "-*");
    const bool oneImage = images == std::set<std::string>{pdf + "-000.ppm"};
    const std::optional<Samples> samples =
        oneImage ? ReadPpm(path + "-000.ppm") : std::optional<Samples>();
    for (const std::string& part : images)
        DeleteFileA(("Z:" + PdfFolder() + "/" + part).c_str());
    DeleteFileA((path + ".content").c_str());
    DeleteFileA((path + ".status").c_str());
    ASSERT_EQ(status, "0\n") << command << " failed";
    ASSERT_TRUE(oneImage) << "the page holds " << images.size() << " images";
    ASSERT_TRUE(samples) << "the image is no 8-bit colour image";
    ASSERT_TRUE(placement) << "the page does not draw its image once";

    // The image as it stands on the page: upright or upside down, mirrored or not.
    const Matrix& m = *placement;
    ASSERT_TRUE(m[1] == 0 && m[2] == 0 && m[0] != 0 && m[3] != 0)
        << "the image is turned on the page: [" << m[0] << " " << m[1] << " " << m[2] << " " << m[3]
        << "]";
    const int width = samples->Width, height = samples->Height;
    std::vector<DWORD> pixels(samples->Pixels.size());
    for (int y = 0; y < height; ++y) {
        const int row = m[3] > 0 ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const int column = m[0] > 0 ? x : width - 1 - x;
            pixels[std::size_t(y) * width + x] = samples->Pixels[std::size_t(row) * width + column];
        }
    }
    page.emplace(SIZE{width, height}, std::move(pixels));
}
