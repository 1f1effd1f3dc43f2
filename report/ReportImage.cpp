#include "report/ReportImage.h"

#include "report/BitmapFile.h"
#include "report/FittedText.h"
#include "report/ReportError.h"

#include <memory>
#include <utility>

namespace {

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

struct ObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using GdiObject = std::unique_ptr<void, ObjectDeleter>;

[[noreturn]] void ThrowCannotOpen(const std::string& fileName, DWORD error) {
    char fullPath[MAX_PATH];
    const DWORD length = GetFullPathNameA(fileName.c_str(), MAX_PATH, fullPath, nullptr);
    const std::string path = length > 0 && length < MAX_PATH ? fullPath : fileName;
    throw EReportError("Cannot open file \"" + path + "\". " + SystemErrorText(error));
}

[[noreturn]] void ThrowNotValid() {
    throw EReportError("Bitmap image is not valid");
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& fileName) {
    FileHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        ThrowCannotOpen(fileName, GetLastError());
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size))
        ThrowCannotOpen(fileName, GetLastError());
    // No bitmap this program can hold comes near 1 GiB; larger files are not read at all.
    if (size.QuadPart > (1 << 30))
        ThrowNotValid();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                      &got, nullptr))
            ThrowCannotOpen(fileName, GetLastError());
        if (got == 0)
            break;
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

// The in-memory image keeps the file's bit depth and palette, stored bottom-up and uncompressed.
std::vector<std::byte> SectionHeader(const std::vector<std::uint8_t>& file,
                                     const BitmapFileLayout& layout) {
    const unsigned entries = layout.BitCount <= 8 ? 1u << layout.BitCount : 0;
    std::vector<std::byte> header(sizeof(BITMAPINFOHEADER) + entries * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = layout.Width;
    info->bmiHeader.biHeight = layout.Height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = static_cast<WORD>(layout.BitCount);
    info->bmiHeader.biCompression = BI_RGB;
    info->bmiHeader.biClrUsed = entries;
    for (unsigned i = 0; i < layout.ColorCount; ++i) {
        const std::uint8_t* entry = &file[layout.ColorTableOffset + i * layout.ColorEntrySize];
        info->bmiColors[i] = RGBQUAD{entry[0], entry[1], entry[2], 0};
    }
    return header;
}

} // namespace

ReportImage ReportImage::Load(const std::string& fileName) {
    const std::vector<std::uint8_t> file = ReadWholeFile(fileName);
    const std::optional<BitmapFileLayout> layout = ReadBitmapFileLayout(file);
    if (!layout)
        ThrowNotValid();
    const std::vector<std::byte> header = SectionHeader(file, *layout);
    const auto* sectionInfo = reinterpret_cast<const BITMAPINFO*>(header.data());
    void* pixels = nullptr;
    GdiObject section(CreateDIBSection(nullptr, sectionInfo, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!section)
        ThrowNotValid();
    // GDI reads the file's own header, colour masks, table and (possibly compressed) pixels.
    const auto* fileInfo =
        reinterpret_cast<const BITMAPINFO*>(file.data() + BitmapFileLayout::InfoOffset);
    MemoryDc dc(CreateCompatibleDC(nullptr));
    if (SetDIBits(dc.get(), static_cast<HBITMAP>(section.get()), 0, layout->Height,
                  file.data() + layout->BitsOffset, fileInfo, DIB_RGB_COLORS) == 0)
        ThrowNotValid();
    return ReportImage(static_cast<HBITMAP>(section.release()), layout->Width, layout->Height);
}

ReportImage::ReportImage(HBITMAP bitmap, int width, int height)
    : bitmap_(bitmap), width_(width), height_(height) {}

ReportImage::ReportImage(ReportImage&& other) noexcept
    : bitmap_(std::exchange(other.bitmap_, nullptr)), width_(other.width_), height_(other.height_) {
}

ReportImage::~ReportImage() {
    if (bitmap_)
        DeleteObject(bitmap_);
}

void ReportImage::WriteTexts(const std::array<std::string, ReportTextCount>& texts) {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    const HGDIOBJ oldBitmap = SelectObject(dc.get(), bitmap_);
    SetTextColor(dc.get(), GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc.get(), RGB(255, 255, 255));
    SetBkMode(dc.get(), OPAQUE);
    for (std::size_t i = 0; i < ReportTextCount; ++i)
        WriteFittedText(dc.get(), texts[i], PlaceTextLines(width_, height_, i),
                        PlaceTextRight(width_, ReportPlaces[i]));
    SelectObject(dc.get(), oldBitmap);
}

ReportDib ReportImage::ConvertToDib() const {
    DIBSECTION section{};
    GetObject(bitmap_, sizeof section, &section);
    const WORD bitCount = section.dsBmih.biBitCount;
    const unsigned entries = bitCount <= 8 ? 1u << bitCount : 0;

    ReportDib dib;
    dib.Header.resize(sizeof(BITMAPINFOHEADER) + entries * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(dib.Header.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width_;
    info->bmiHeader.biHeight = height_;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = bitCount;
    info->bmiHeader.biCompression = BI_RGB;

    MemoryDc dc(CreateCompatibleDC(nullptr));
    // Without a pixel buffer GetDIBits reports the size of the pixel array and fills the table.
    if (!GetDIBits(dc.get(), bitmap_, 0, height_, nullptr, info, DIB_RGB_COLORS))
        throw EReportError("Bitmap image is not valid");
    const std::size_t bitsSize = info->bmiHeader.biSizeImage
                                     ? info->bmiHeader.biSizeImage
                                     : BitmapRowBytes(width_, bitCount) * height_;
    dib.Bits.resize(bitsSize);
    if (GetDIBits(dc.get(), bitmap_, 0, height_, dib.Bits.data(), info, DIB_RGB_COLORS) != height_)
        throw EReportError("Bitmap image is not valid");
    return dib;
}
