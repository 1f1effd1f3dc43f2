// Reading and writing .wmx files with the system's file operations, on real files in a
// temporary folder.
#include "data/MeasurementFile.h"
#include "data/FileError.h"
#include "data/StoreImage.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

class MeasurementFileTest : public testing::Test {
  protected:
    void SetUp() override {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        Folder = std::string(base) + "wmx-file-" + std::to_string(GetCurrentProcessId()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(Folder.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::string& name : FolderContents()) {
            const std::string path = Folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileA(path.c_str()))
                RemoveDirectoryA(path.c_str());
        }
        RemoveDirectoryA(Folder.c_str());
    }
    std::string Path(const std::string& name) const { return Folder + "\\" + name; }
    std::vector<std::string> FolderContents() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((Folder + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..")
                names.push_back(name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }
    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::unique_ptr<MeasurementStore> SampleStore() {
        auto store = std::make_unique<MeasurementStore>();
        for (unsigned n = 1; n <= MeasurementStore::SlotCount; ++n) {
            SetText(store->Slot(n).FrontText, "07" + std::to_string(n) + ",5");
            SetText(store->Slot(n).LeftText, n == 4 ? "-----" : "0,0");
            SetText(store->Slot(n).RegistrationNo, "KR " + std::to_string(1000 * n));
            SetText(store->Slot(n).Verdict, "positive");
            store->Slot(n).VehicleType = static_cast<int>(n) % 5 - 1;
            store->Slot(n).FrontValue = 1.5f;
        }
        SetText(store->Slot(1).CustomerName, "Customer \xb3\xf3\xbf");
        return store;
    }

    std::string Folder;
};

std::string Image(const MeasurementStore& store) {
    return std::string(reinterpret_cast<const char*>(&store), sizeof store);
}

TEST_F(MeasurementFileTest, SavedSetOpensAgainByteForByte) {
    const auto saved = SampleStore();
    WriteMeasurementFile(Path("set.wmx"), *saved);
    EXPECT_TRUE(ReadBytes(Path("set.wmx")) == Image(*saved));
    EXPECT_EQ(FolderContents(), std::vector<std::string>{"set.wmx"}) << "no file left beside it";

    auto opened = std::make_unique<MeasurementStore>();
    ReadMeasurementFile(Path("set.wmx"), *opened);
    EXPECT_TRUE(Image(*opened) == Image(*saved));
}

TEST_F(MeasurementFileTest, SavingReplacesAnExistingFile) {
    WriteBytes(Path("set.wmx"), std::string(50000, 'x'));
    const auto store = SampleStore();
    WriteMeasurementFile(Path("set.wmx"), *store);
    EXPECT_TRUE(ReadBytes(Path("set.wmx")) == Image(*store));
}

TEST_F(MeasurementFileTest, ShortAndLongFilesReplaceOnlyWhatTheyHold) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{3856}, std::size_t{40000}}) {
        WriteBytes(Path("odd.wmx"), std::string(size, 'f'));
        auto store = std::make_unique<MeasurementStore>();
        std::memset(store.get(), 's', sizeof *store);
        ReadMeasurementFile(Path("odd.wmx"), *store);
        const std::size_t replaced = std::min(size, StoreImageSize);
        EXPECT_TRUE(Image(*store) ==
                    std::string(replaced, 'f') + std::string(StoreImageSize - replaced, 's'))
            << size;
    }
}

TEST_F(MeasurementFileTest, ReadOnlyFilesOpen) {
    const auto saved = SampleStore();
    WriteMeasurementFile(Path("locked.wmx"), *saved);
    ASSERT_TRUE(SetFileAttributesA(Path("locked.wmx").c_str(), FILE_ATTRIBUTE_READONLY));
    auto opened = std::make_unique<MeasurementStore>();
    ReadMeasurementFile(Path("locked.wmx"), *opened);
    EXPECT_TRUE(Image(*opened) == Image(*saved));
}

TEST_F(MeasurementFileTest, OpenErrorsUseTheirWordingAndLeaveTheStoreAlone) {
    auto store = SampleStore();
    const std::string before = Image(*store);
    const struct {
        std::string Path;
        const char* Text;
    } cases[] = {
        {Path("missing.wmx"), "File not found"},
        {Path("no-such-folder\\set.wmx"), "Path not found"},
    };
    for (const auto& c : cases) {
        try {
            ReadMeasurementFile(c.Path, *store);
            ADD_FAILURE() << c.Path << " opened";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), c.Text);
        }
    }
    EXPECT_TRUE(Image(*store) == before);
}

// A save that cannot replace its target (a file held open by another program, a folder of that
// name) leaves the target as it was and removes its new file.
TEST_F(MeasurementFileTest, FailedSaveLeavesTheOldFileAndNoPartialFile) {
    const std::string old(34704, 'o');
    WriteBytes(Path("busy.wmx"), old);
    ASSERT_TRUE(CreateDirectoryA(Path("folder.wmx").c_str(), nullptr));
    HANDLE holder = CreateFileA(Path("busy.wmx").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const auto store = SampleStore();
    const struct {
        const char* Name;
        const char* Text;
    } cases[] = {{"busy.wmx", "File access denied"}, {"folder.wmx", "File access denied"}};
    for (const auto& c : cases) {
        try {
            WriteMeasurementFile(Path(c.Name), *store);
            ADD_FAILURE() << c.Name << " saved";
        } catch (const EFileError& error) {
            EXPECT_STREQ(error.what(), c.Text) << c.Name;
        }
    }
    CloseHandle(holder);
    EXPECT_TRUE(ReadBytes(Path("busy.wmx")) == old) << "the old file is unchanged";
    auto contents = FolderContents();
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, (std::vector<std::string>{"busy.wmx", "folder.wmx"}));
}

TEST_F(MeasurementFileTest, SavingIntoAMissingFolderFailsWithItsWording) {
    try {
        WriteMeasurementFile(Path("no-such-folder\\set.wmx"), *SampleStore());
        ADD_FAILURE() << "saved";
    } catch (const EFileError& error) {
        EXPECT_STREQ(error.what(), "Path not found");
    }
}

} // namespace
