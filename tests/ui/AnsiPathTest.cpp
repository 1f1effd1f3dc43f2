// Paths from the system's UTF-16 for the program's ANSI file functions, in one code page after
// another: the path itself where the code page holds it, its short name where it does not, and
// nothing where there is neither.
#include "ui/win32/AnsiPath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// A folder and a file named with Polish letters ("Łódź\pomiar ść.wmx") and one with a letter of
// code page 1252 ("café.wmx"), made with the wide file functions in a folder of their own.
class NamedFiles : public testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        Base = std::wstring(temp) + L"wmx-ansi-path-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(Base.c_str(), nullptr);
        CreateDirectoryW(Polish().c_str(), nullptr);
        for (const std::wstring& file : {PolishFile(), WesternFile()})
            Write(file);
        BaseBytes.assign(Base.begin(), Base.end()); // the temporary folder's name is plain ASCII
        ASSERT_TRUE(std::all_of(Base.begin(), Base.end(), [](wchar_t c) { return c < 0x80; }));
    }
    void TearDown() override {
        DeleteFileW(PolishFile().c_str());
        DeleteFileW(WesternFile().c_str());
        RemoveDirectoryW(Polish().c_str());
        RemoveDirectoryW(Base.c_str());
    }
    std::wstring Polish() const { return Base + L"\\\u0141\u00f3d\u017a"; }
    std::wstring PolishFile() const { return Polish() + L"\\pomiar \u015b\u0107.wmx"; }
    std::wstring WesternFile() const { return Base + L"\\caf\u00e9.wmx"; }

    static constexpr const char* Content = "the file itself";
    static void Write(const std::wstring& path) {
        HANDLE file =
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, Content, static_cast<DWORD>(std::strlen(Content)), &written, nullptr);
        CloseHandle(file);
    }
    // What the ANSI file functions read through the path.
    static std::string ReadThrough(const std::string& ansiPath) {
        std::ifstream in(ansiPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::wstring Base;
    std::string BaseBytes;
};

TEST_F(NamedFiles, EachCodePageGetsThePathItHoldsOrTheShortName) {
    enum Kind { Itself, ShortName, None };
    const struct {
        const char* what;
        UINT codePage;
        std::wstring path;
        Kind kind;
        std::string tail; // the bytes after the temporary folder's, for Itself
    } cases[] = {
        {"Polish letters under 1252", 1252, PolishFile(), ShortName, ""},
        {"Polish letters under 1251", 1251, PolishFile(), ShortName, ""},
        {"Polish letters under 932", 932, PolishFile(), ShortName, ""},
        {"Polish letters under 1250", 1250, PolishFile(), Itself,
         "\\\xa3\xf3"
         "d\x9f\\pomiar \x9c\xe6.wmx"},
        {"Polish letters under UTF-8", CP_UTF8, PolishFile(), Itself,
         "\\\xc5\x81\xc3\xb3"
         "d\xc5\xba\\pomiar \xc5\x9b\xc4\x87.wmx"},
        {"a letter of 1252 under 1252", 1252, WesternFile(), Itself, "\\caf\xe9.wmx"},
        {"a letter of 1252 under 1251", 1251, WesternFile(), ShortName, ""},
        {"a missing file of Polish letters under 1252", 1252, Polish() + L"\\\u017c.wmx", None, ""},
        {"a lone surrogate under UTF-8", CP_UTF8, Base + L"\\\xd800.wmx", None, ""},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> path = AnsiPath(c.path, c.codePage);
        switch (c.kind) {
        case Itself:
            EXPECT_EQ(path, BaseBytes + c.tail) << c.what;
            break;
        case ShortName:
            ASSERT_TRUE(path) << c.what;
            EXPECT_TRUE(std::all_of(path->begin(), path->end(),
                                    [](char ch) { return ch >= ' ' && ch < 0x7f && ch != '?'; }))
                << c.what << ": " << *path;
            EXPECT_EQ(ReadThrough(*path), Content) << c.what << ": " << *path;
            break;
        case None:
            EXPECT_FALSE(path) << c.what << ": " << *path;
            break;
        }
    }
}

TEST(ShownText, CharactersTheCodePageLacksShowAsQuestionMarks) {
    const std::wstring name = L"\u0141\u00f3d\u017a \U0001F600.wmx";
    EXPECT_EQ(ShownText(name, 1252), "?\xf3"
                                     "d? ?.wmx");
    EXPECT_EQ(ShownText(name, 1250), "\xa3\xf3"
                                     "d\x9f ?.wmx");
    EXPECT_EQ(ShownText(name, CP_UTF8), "\xc5\x81\xc3\xb3"
                                        "d\xc5\xba \xf0\x9f\x98\x80.wmx");
}

} // namespace
