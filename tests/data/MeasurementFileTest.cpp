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
    // The file's access rules, as the bytes of its access control list.
    static std::string Dacl(const std::string& path) {
        DWORD size = 0;
        GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
        std::vector<BYTE> descriptor(size);
        BOOL present = FALSE, defaulted = FALSE;
        ACL* acl = nullptr;
        if (!GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size,
                              &size) ||
            !GetSecurityDescriptorDacl(descriptor.data(), &present, &acl, &defaulted))
            return "no security: error " + std::to_string(GetLastError());
        if (!present || !acl)
            return "no access control list";
        return std::string(reinterpret_cast<const char*>(acl), acl->AclSize);
    }
    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::unique_ptr<MeasurementSet> SampleStore() {
        auto store = std::make_unique<MeasurementSet>();
        for (unsigned n = 1; n <= MeasurementSet::SlotCount; ++n) {
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

std::string Image(const MeasurementSet& store) {
    return std::string(reinterpret_cast<const char*>(&store), sizeof store);
}

TEST_F(MeasurementFileTest, SavedSetOpensAgainByteForByte) {
    const auto saved = SampleStore();
    WriteMeasurementFile(Path("set.wmx"), *saved);
    EXPECT_TRUE(ReadBytes(Path("set.wmx")) == Image(*saved));
    EXPECT_EQ(FolderContents(), std::vector<std::string>{"set.wmx"}) << "no file left beside it";

    auto opened = std::make_unique<MeasurementSet>();
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
        auto store = std::make_unique<MeasurementSet>();
        std::memset(store.get(), 's', sizeof *store);
        ReadMeasurementFile(Path("odd.wmx"), *store);
        const std::size_t replaced = std::min(size, StoreImageSize);
        EXPECT_TRUE(Image(*store) ==
                    std::string(replaced, 'f') + std::string(StoreImageSize - replaced, 's'))
            << size;
    }
}

// A file whose reading texts hold more digits than any meter gives: after opening, every value
// is a number from 0 to 9999 and the long texts count as none, where 39 digits used to give
// infinity and pass every limit.
TEST_F(MeasurementFileTest, LongReadingTextsOpenAsNoNumber) {
    auto written = SampleStore();
    SetText(written->Slot(1).FrontText, std::string(39, '9'));
    SetText(written->Slot(1).LeftText, std::string(255, '9'));
    SetText(written->Slot(1).RightText, "075,3");
    SetText(written->Slot(9).FrontText, "12345");
    WriteMeasurementFile(Path("long.wmx"), *written);

    auto opened = std::make_unique<MeasurementSet>();
    ReadMeasurementFile(Path("long.wmx"), *opened);
    RecomputeValues(*opened);
    for (const MeasurementRecord& slot : opened->Slots)
        for (const float value : {slot.FrontValue, slot.LeftValue, slot.RightValue})
            EXPECT_TRUE(value >= 0 && value <= 9999) << value;
    EXPECT_EQ(opened->Slot(1).FrontValue, 0);
    EXPECT_EQ(opened->Slot(1).LeftValue, 0);
    EXPECT_EQ(opened->Slot(1).RightValue, 753);
    EXPECT_EQ(opened->Slot(9).FrontValue, 0);
    EXPECT_EQ(opened->Slot(2).FrontValue, 725) << "the written form \"072,5\"";
    EXPECT_EQ(opened->Slot(4).LeftValue, 9999) << "\"-----\"";
}

TEST_F(MeasurementFileTest, ReadOnlyFilesOpen) {
    const auto saved = SampleStore();
    WriteMeasurementFile(Path("locked.wmx"), *saved);
    ASSERT_TRUE(SetFileAttributesA(Path("locked.wmx").c_str(), FILE_ATTRIBUTE_READONLY));
    auto opened = std::make_unique<MeasurementSet>();
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

// The file the user chose stays that file: hidden stays hidden, and its access rules stay.
TEST_F(MeasurementFileTest, ReplacingKeepsTheTargetsAttributesAndSecurity) {
    const std::string target = Path("kept.wmx");
    WriteBytes(target, std::string(34704, 'o'));
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    // Rules of its own: everyone may change it, the network may only read it.
    SECURITY_DESCRIPTOR rules;
    InitializeSecurityDescriptor(&rules, SECURITY_DESCRIPTOR_REVISION);
    alignas(DWORD) BYTE everyone[SECURITY_MAX_SID_SIZE], network[SECURITY_MAX_SID_SIZE];
    DWORD everyoneSize = sizeof everyone, networkSize = sizeof network;
    ASSERT_TRUE(CreateWellKnownSid(WinWorldSid, nullptr, everyone, &everyoneSize));
    ASSERT_TRUE(CreateWellKnownSid(WinNetworkSid, nullptr, network, &networkSize));
    alignas(DWORD) BYTE aclBytes[256];
    auto* acl = reinterpret_cast<ACL*>(aclBytes);
    ASSERT_TRUE(InitializeAcl(acl, sizeof aclBytes, ACL_REVISION));
    ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, everyone));
    ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, FILE_GENERIC_READ, network));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&rules, TRUE, acl, FALSE));
    ASSERT_TRUE(SetFileSecurityA(target.c_str(), DACL_SECURITY_INFORMATION, &rules));
    const std::string before = Dacl(target);

    const auto store = SampleStore();
    WriteMeasurementFile(target, *store);
    EXPECT_TRUE(ReadBytes(target) == Image(*store));
    EXPECT_EQ(GetFileAttributesA(target.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE),
              DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(Dacl(target), before);
    EXPECT_EQ(FolderContents(), std::vector<std::string>{"kept.wmx"});
}

// Each way the system's replace can end, as its documentation gives them, acted out on the real
// files by a stand-in for the replace; the fallback rename is the real one, made to fail by a
// file that another program puts at the target's name meanwhile.
// OldRenumbered: the old file reaches the backup name under another file number, as a rename
// on FAT or some network shares gives it.
enum class ReplaceAct { Replace, Nothing, OldToBackup, OldRenumbered, OldDeleted };
struct ReplaceOutcome {
    const char* What;
    DWORD Error;
    ReplaceAct Act;
    bool Intruder;
    // What is left where: the target's content ("old", "new", "intruder"), whether the new data
    // stays under its temporary name and the old file under the backup name, and what the user
    // is told (empty: the save succeeded; where the new data stays beside, the text names where it
    // and the old file are).
    const char* AtTarget;
    bool NewLeftBeside;
    bool OldLeftBeside;
    const char* Told;
};
const ReplaceOutcome* Acting = nullptr;

BOOL WINAPI ActOutReplace(LPCSTR target, LPCSTR replacement, LPCSTR backup, DWORD flags,
                          LPVOID exclude, LPVOID reserved) {
    switch (Acting->Act) {
    case ReplaceAct::Replace:
        return ReplaceFileA(target, replacement, backup, flags, exclude, reserved);
    case ReplaceAct::Nothing:
        break;
    case ReplaceAct::OldToBackup:
        MoveFileExA(target, backup, MOVEFILE_REPLACE_EXISTING);
        break;
    case ReplaceAct::OldRenumbered:
        DeleteFileA(backup);
        CopyFileA(target, backup, TRUE);
        DeleteFileA(target);
        break;
    case ReplaceAct::OldDeleted:
        DeleteFileA(target);
        break;
    }
    if (Acting->Intruder)
        std::ofstream(target, std::ios::binary) << "intruder";
    SetLastError(Acting->Error);
    return FALSE;
}

TEST_F(MeasurementFileTest, EveryOutcomeOfTheReplaceLeavesTheOldFileOrTheNewData) {
    constexpr DWORD RemoveReplaced = ERROR_UNABLE_TO_REMOVE_REPLACED;
    constexpr DWORD MoveReplacement = ERROR_UNABLE_TO_MOVE_REPLACEMENT;
    constexpr DWORD MoveReplacement2 = ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
    const ReplaceOutcome outcomes[] = {
        {"replaced", 0, ReplaceAct::Replace, false, "new", false, false, ""},
        {"old not removed", RemoveReplaced, ReplaceAct::Nothing, false, "old", false, false,
         "I/O error 1175"},
        {"new not moved, names kept", MoveReplacement, ReplaceAct::Nothing, false, "old", false,
         false, "I/O error 1176"},
        {"new not moved, old renamed", MoveReplacement, ReplaceAct::OldToBackup, false, "new",
         false, false, ""},
        {"new not moved, old gone", MoveReplacement, ReplaceAct::OldDeleted, false, "new", false,
         false, ""},
        {"new not moved (2), old renamed", MoveReplacement2, ReplaceAct::OldToBackup, false, "new",
         false, false, ""},
        {"new not moved (2), name taken", MoveReplacement2, ReplaceAct::OldToBackup, true,
         "intruder", true, true, ""},
        {"new not moved, old gone, name taken", MoveReplacement, ReplaceAct::OldDeleted, true,
         "intruder", true, false, ""},
        {"new not moved (2), old renumbered", MoveReplacement2, ReplaceAct::OldRenumbered, false,
         "new", false, false, ""},
        {"new not moved (2), old renumbered, name taken", MoveReplacement2,
         ReplaceAct::OldRenumbered, true, "intruder", true, true, ""},
        {"access denied", ERROR_ACCESS_DENIED, ReplaceAct::Nothing, false, "old", false, false,
         "File access denied"},
    };
    const auto store = SampleStore();
    const std::string old(34704, 'o'), saved = Image(*store);
    for (const ReplaceOutcome& outcome : outcomes) {
        SCOPED_TRACE(outcome.What);
        TearDown();
        SetUp();
        const std::string target = Path("set.wmx");
        WriteBytes(target, old);
        Acting = &outcome;
        SystemReplaceFile = ActOutReplace;
        std::string told;
        try {
            WriteMeasurementFile(target, *store);
        } catch (const std::exception& error) {
            told = error.what();
        }
        SystemReplaceFile = ReplaceFileA;

        const std::string atTarget = ReadBytes(target);
        EXPECT_EQ(atTarget == old     ? "old"
                  : atTarget == saved ? "new"
                                      : atTarget,
                  std::string(outcome.AtTarget));
        std::string newBeside, oldBeside;
        for (const std::string& name : FolderContents()) {
            const std::string bytes = ReadBytes(Path(name));
            if (name == "set.wmx" || bytes == "intruder")
                continue;
            EXPECT_TRUE(bytes == old || bytes == saved) << name << " holds something else";
            (bytes == old ? oldBeside : newBeside) = Path(name);
        }
        EXPECT_EQ(!newBeside.empty(), outcome.NewLeftBeside) << newBeside;
        EXPECT_EQ(!oldBeside.empty(), outcome.OldLeftBeside) << oldBeside;
        // Never both gone: the new data or the old file is somewhere under a name.
        EXPECT_TRUE(atTarget == saved || atTarget == old || !newBeside.empty());
        if (!outcome.NewLeftBeside) {
            EXPECT_EQ(told, outcome.Told);
            continue;
        }
        EXPECT_NE(told.find("saved as \"" + newBeside + "\""), std::string::npos) << told;
        EXPECT_NE(told.find("\"" + target + "\""), std::string::npos) << told;
        const std::string previous = outcome.OldLeftBeside
                                         ? "is now \"" + oldBeside + "\"."
                                         : std::string("The file that had that name is gone.");
        EXPECT_NE(told.find(previous), std::string::npos) << told;
    }
}

// A program that holds a file for a moment (a virus scanner reading the new file, another program
// taking the target's name) lets go after the second attempt: the save goes through.
int Attempts = 0;

BOOL WINAPI ReplaceWhileScanned(LPCSTR target, LPCSTR replacement, LPCSTR backup, DWORD flags,
                                LPVOID exclude, LPVOID reserved) {
    HANDLE scanner = ++Attempts <= 2 ? CreateFileA(replacement, GENERIC_READ, 0, nullptr,
                                                   OPEN_EXISTING, 0, nullptr)
                                     : INVALID_HANDLE_VALUE;
    const BOOL replaced = ReplaceFileA(target, replacement, backup, flags, exclude, reserved);
    const DWORD error = GetLastError();
    if (scanner != INVALID_HANDLE_VALUE)
        CloseHandle(scanner);
    SetLastError(error);
    return replaced;
}

BOOL WINAPI ReplaceIntoATakenName(LPCSTR target, LPCSTR, LPCSTR backup, DWORD, LPVOID, LPVOID) {
    MoveFileExA(target, backup, MOVEFILE_REPLACE_EXISTING);
    std::ofstream(target, std::ios::binary) << "intruder";
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    return FALSE;
}

BOOL WINAPI MoveUntilTheNameIsFree(LPCSTR from, LPCSTR to, DWORD flags) {
    const BOOL moved = MoveFileExA(from, to, flags);
    const DWORD error = GetLastError();
    if (++Attempts == 2)
        DeleteFileA(to);
    SetLastError(error);
    return moved;
}

TEST_F(MeasurementFileTest, AFileHeldForAMomentIsWaitedFor) {
    const struct {
        const char* What;
        decltype(SystemReplaceFile) Replace;
        decltype(SystemMoveFile) Move;
    } blockers[] = {{"the new file scanned", ReplaceWhileScanned, MoveFileExA},
                    {"the name taken", ReplaceIntoATakenName, MoveUntilTheNameIsFree}};
    const auto store = SampleStore();
    for (const auto& blocker : blockers) {
        SCOPED_TRACE(blocker.What);
        TearDown();
        SetUp();
        WriteBytes(Path("set.wmx"), std::string(34704, 'o'));
        Attempts = 0;
        SystemReplaceFile = blocker.Replace;
        SystemMoveFile = blocker.Move;
        std::string told;
        try {
            WriteMeasurementFile(Path("set.wmx"), *store);
        } catch (const std::exception& error) {
            told = error.what();
        }
        SystemReplaceFile = ReplaceFileA;
        SystemMoveFile = MoveFileExA;
        EXPECT_EQ(told, "");
        EXPECT_EQ(Attempts, 3);
        EXPECT_TRUE(ReadBytes(Path("set.wmx")) == Image(*store));
        EXPECT_EQ(FolderContents(), std::vector<std::string>{"set.wmx"});
    }
}

// As creating the file over it would: refused whatever the system would allow the user.
TEST_F(MeasurementFileTest, ReadOnlyTargetIsRefusedAndLeftUntouched) {
    const std::string target = Path("locked.wmx");
    const std::string old(34704, 'o');
    WriteBytes(target, old);
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    try {
        WriteMeasurementFile(target, *SampleStore());
        ADD_FAILURE() << "saved over a read-only file";
    } catch (const EFileError& error) {
        EXPECT_STREQ(error.what(), "File access denied");
    }
    EXPECT_TRUE(ReadBytes(target) == old);
    EXPECT_EQ(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY,
              DWORD(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(FolderContents(), std::vector<std::string>{"locked.wmx"});
}

// A folder as deep as a folder can be, and a target path that still fits in MAX_PATH: the new
// file's name must fit where the target's does, with no room to spare.
TEST_F(MeasurementFileTest, SavesWhereverTheTargetsPathFits) {
    constexpr std::size_t deepest = MAX_PATH - 13; // the longest path CreateDirectory takes
    std::string deep = Folder;
    while (deep.size() + 1 < deepest) {
        deep += "\\" + std::string(std::min<std::size_t>(deepest - deep.size() - 1, 40), 'd');
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep.size();
    }
    const std::string longest(MAX_PATH - 2 - deep.size(), 'n'); // the path takes 259 characters
    for (const std::string& name : {std::string("set.wmx"), std::string("s"), longest}) {
        const std::string target = deep + "\\" + name;
        const auto store = SampleStore();
        WriteMeasurementFile(target, *store); // a new file
        WriteMeasurementFile(target, *store); // replacing it
        EXPECT_TRUE(ReadBytes(target) == Image(*store)) << target.size();
        EXPECT_TRUE(DeleteFileA(target.c_str())) << target.size();
    }
    for (; deep.size() > Folder.size(); deep.erase(deep.find_last_of('\\')))
        EXPECT_TRUE(RemoveDirectoryA(deep.c_str())) << "a file was left in " << deep;
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
