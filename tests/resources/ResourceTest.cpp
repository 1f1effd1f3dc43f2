// The resources of wmx.exe: its version, its icon at every size, and what its manifest gives a
// program that carries it (this test carries the same resources as wmx.exe).
#include "ui/main_window/MainWindow.h"
#include "ui/port_dialog/PortDialog.h"
#include "ui/win32/User32Function.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    BITMAP bitmap{};
    if (!icon || !GetIconInfo(icon, &info))
        return {0, 0};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, bitmap.bmHeight};
}

TEST(ResourceTest, BothWindowsShowTheProgramsIconAtTheSystemsSizes) {
    TMainForm mainForm;
    const TForm2& form2 = Inside(mainForm).PortDialog();
    const int big = GetSystemMetrics(SM_CXICON), small = GetSystemMetrics(SM_CXSMICON);
    for (HWND window : {mainForm.Handle, form2.Handle}) {
        const auto bigIcon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
        const auto smallIcon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
        EXPECT_EQ(IconSize(bigIcon).cx, big);
        EXPECT_EQ(IconSize(smallIcon).cx, small);
    }
}

TEST(ResourceTest, ManifestGivesCommonControlsSixAndPerMonitorDpiAwareness) {
    TMainForm mainForm; // loads the common controls as the program does
    // Version 6 comes from the side-by-side store, on Windows and Wine alike (Wine's reports
    // 5.81 as its version number either way).
    char path[MAX_PATH] = "";
    GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, MAX_PATH);
    std::string lower(path);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // The side-by-side folder of this program's own processor architecture.
    EXPECT_NE(lower.find("\\winsxs\\" WMX_MANIFEST_ARCH
                         "_microsoft.windows.common-controls_6595b64144ccf1df_6."),
              std::string::npos)
        << path;

    using Context = HANDLE;
    auto threadContext = User32Function<Context(WINAPI*)()>("GetThreadDpiAwarenessContext");
    auto awarenessOf = User32Function<int(WINAPI*)(Context)>("GetAwarenessFromDpiAwarenessContext");
    ASSERT_TRUE(threadContext && awarenessOf);
    EXPECT_EQ(awarenessOf(threadContext()), 2); // DPI_AWARENESS_PER_MONITOR_AWARE
}

std::string VersionText(const std::vector<char>& block, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        return "(none)";
    return std::string(value, length ? length - 1 : 0);
}

TEST(ResourceTest, ProgramCarriesTheProjectsVersionAndItsCompanyLine) {
    const DWORD size = GetFileVersionInfoSizeA(WMX_EXE, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(WMX_EXE, 0, size, block.data()));
    EXPECT_EQ(VersionText(block, "ProductName"), "Kavra Tintra");
    EXPECT_EQ(VersionText(block, "FileVersion"), WMX_VERSION);
    EXPECT_EQ(VersionText(block, "ProductVersion"), WMX_VERSION);
    EXPECT_EQ(VersionText(block, "CompanyName"),
              "WMX window tint measurement software, inspection station kit");
    EXPECT_NE(VersionText(block, "FileDescription"), "(none)");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, WMX_VERSION);
}

TEST(ResourceTest, ProgramsManifestNamesItsOwnArchitecture) {
    HMODULE exe = LoadLibraryExA(WMX_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HRSRC found = FindResourceA(exe, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(exe, found))),
                               SizeofResource(exe, found));
    FreeLibrary(exe);
    EXPECT_NE(manifest.find("processorArchitecture=\"" WMX_MANIFEST_ARCH "\""), std::string::npos)
        << manifest;
#ifdef _WIN64
    EXPECT_STREQ(WMX_MANIFEST_ARCH, "amd64");
#else
    EXPECT_STREQ(WMX_MANIFEST_ARCH, "x86");
#endif
}

TEST(ResourceTest, ProgramsIconHoldsEverySizeUpTo256) {
    HMODULE exe = LoadLibraryExA(WMX_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    for (int size : {16, 24, 32, 48, 256}) {
        auto icon = static_cast<HICON>(LoadImageA(exe, "PROGRAM", IMAGE_ICON, size, size, 0));
        // Loaded at its own size, not scaled from another entry: the entry is there.
        const int best = LookupIconIdFromDirectoryEx(
            static_cast<BYTE*>(
                LockResource(LoadResource(exe, FindResourceA(exe, "PROGRAM", RT_GROUP_ICON)))),
            TRUE, size, size, LR_DEFAULTCOLOR);
        HRSRC entry = FindResourceA(exe, MAKEINTRESOURCEA(best), RT_ICON);
        ASSERT_NE(entry, nullptr) << size;
        auto* bits = static_cast<BYTE*>(LockResource(LoadResource(exe, entry)));
        const bool png = bits[0] == 0x89 && bits[1] == 'P';
        const LONG width = png ? 256 : reinterpret_cast<BITMAPINFOHEADER*>(bits)->biWidth;
        EXPECT_EQ(width, size);
        EXPECT_EQ(IconSize(icon).cx, size);
        DestroyIcon(icon);
    }
    FreeLibrary(exe);
}

} // namespace
