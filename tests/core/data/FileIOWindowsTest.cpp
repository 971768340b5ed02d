// The data layer's file handling where it meets what only Windows has: device names, read-only files,
// long paths, UTF-16 file names and the ANSI code page, and other programs holding a file open.

#include "core/data/Configs.h"
#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/FileNames.h"
#include "core/data/Library.h"
#include "core/data/Platform.h"
#include "core/data/ProfileIni.h"
#include "core/data/StringTable.h"
#include "FolderNames.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include <windows.h>

using namespace pw;
using pwtest::FolderNames;
using pwtest::ReadBytes;
using pwtest::WriteBytes;

namespace {

HANDLE OpenExclusively(const std::string& path) {
    return CreateFileW(pwtest::FsPath(path).wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The system's own text for an error, in the user's language, as a message shows it.
std::string SystemText(DWORD code) {
    wchar_t text[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, 512, nullptr);
    std::string utf8 = pwtest::Utf8Path(std::filesystem::path(std::wstring(text, length)));
    while (!utf8.empty() && static_cast<unsigned char>(utf8.back()) <= ' ')
        utf8.pop_back();
    return utf8;
}

} // namespace

TEST(WindowsFiles, DeviceNamesAreNoRegularFilesAndAreNeverOpened) {
    pwtest::TempDir dir;
    for (const char* name : {"CON", "nul", "Nul.info", "com1.quest", "LPT9.ini", "aux.txt", "prn"}) {
        const std::string path = dir.File(name);
        EXPECT_TRUE(IsSpecialFile(path)) << name;
        std::string reason;
        EXPECT_FALSE(WriteFileAtomic(path, "x", &reason)) << name;
        EXPECT_EQ(reason, "Not a regular file") << name;
        EXPECT_FALSE(ProfileWriteString(path, "S", "k", "v", &reason)) << name;
        EXPECT_EQ(reason, "Not a regular file") << name;
        EXPECT_EQ(TryReadWholeFile(path), std::nullopt) << name;
        BlockReader reader;
        EXPECT_FALSE(reader.Open(path, &reason)) << name;
        EXPECT_EQ(reason, "Not a regular file") << name;
    }
    // Names that only begin like a device are ordinary files.
    for (const char* name : {"console.info", "com10.quest", "nul_info.info", "LPT.ini"}) {
        ASSERT_TRUE(WriteFileAtomic(dir.File(name), "ok", nullptr)) << name;
        EXPECT_EQ(ReadBytes(dir.File(name)), "ok") << name;
    }
    EXPECT_EQ(FolderNames(dir.Path()).size(), 4u);
}

TEST(WindowsFiles, AReadOnlyFileRefusesAWriteWithTheSystemsReason) {
    pwtest::TempDir dir;
    const std::string path = dir.File("stringtable.ini");
    WriteBytes(path, "[S]\r\n");
    ASSERT_TRUE(SetFileAttributesW(pwtest::FsPath(path).wstring().c_str(), FILE_ATTRIBUTE_READONLY));
    std::string reason;
    EXPECT_FALSE(ProfileWriteString(path, "S", "k", "v", &reason));
    EXPECT_EQ(reason, SystemText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadBytes(path), "[S]\r\n");
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"stringtable.ini"});
    SetFileAttributesW(pwtest::FsPath(path).wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFiles, PathsLongerThan260CharactersWork) {
    pwtest::TempDir dir;
    std::string folder = dir.Path();
    while (folder.size() < 300) {
        folder += "/" + std::string(40, 'f');
        ASSERT_TRUE(MakeDirectory(folder, nullptr)) << folder.size();
    }
    const std::string path = folder + "/Diego_Hello_info_G3_World_01.info";
    ASSERT_GT(path.size(), 260u);
    ASSERT_TRUE(WriteFileAtomic(path, "[Info]\r\nName=Diego_Hello\r\n", nullptr));
    ASSERT_TRUE(ProfileWriteString(path, "Info", "Owner", "Diego"));
    EXPECT_EQ(ReadWholeFile(path), "[Info]\r\nName=Diego_Hello\r\nOwner=Diego\r\n");
    std::vector<std::string> found;
    ScanLibraryFolder(dir.Path(), found);
    EXPECT_EQ(found, std::vector<std::string>{path});
}

TEST(WindowsFiles, CyrillicNamesFromRecordsTheScanAndTheSettingsReachOneFile) {
    pwtest::TempDir dir;
    // A name built from record text (Windows-1251) names the file in UTF-16 on the disk.
    const std::string folder = JoinPath(dir.Path(), "Диалоги");
    ASSERT_TRUE(MakeDirectory(folder, nullptr));
    const std::string name = FileNameFromText("\xC4\xE8\xE5\xE3\xEE_info_G3_World_01.info"); // "Диего…"
    const std::string path = JoinPath(folder, name);
    ASSERT_TRUE(WriteFileAtomic(path, "[Info]\r\n", nullptr));
    EXPECT_TRUE(std::filesystem::exists(pwtest::FsPath(dir.Path()) / L"Диалоги" / L"Диего_info_G3_World_01.info"));
    std::vector<std::string> scanned;
    ScanLibraryFolder(dir.Path(), scanned);
    ASSERT_EQ(scanned, std::vector<std::string>{path});

    // The settings file keeps paths in the ANSI code page (1251 here), as the system's profile functions
    // write them; read back they name the folder the scan found.
    ASSERT_EQ(GetACP(), 1251u) << "the tests run with a Russian locale";
    const std::string settings = dir.File("plotwright.inf");
    {
        TConfigs configs(settings);
        configs.InfosPath = folder;
        configs.QuestsPath = folder;
        configs.StringTablePath = JoinPath(folder, "stringtable.ini");
        configs.Save();
    }
    EXPECT_NE(ReadBytes(settings).find("Infos=" + Utf8ToCp1251(folder) + "\r\n"), std::string::npos);
    const TConfigs loaded(settings);
    EXPECT_EQ(loaded.InfosPath, folder);
    std::vector<std::string> again;
    ScanLibraryFolder(loaded.InfosPath, again);
    EXPECT_EQ(again, scanned);

    // A path the code page cannot spell is refused, never stored with "?".
    TConfigs configs(settings);
    configs.InfosPath = JoinPath(dir.Path(), "Łódź");
    EXPECT_THROW(configs.Save(), std::runtime_error);
    EXPECT_EQ(TConfigs(settings).InfosPath, folder);
}

TEST(WindowsFiles, ATargetHeldOpenByAnotherProgramIsWaitedForThenRefusedWithNothingLost) {
    pwtest::TempDir dir;
    const std::string path = dir.File("stringtable.ini");
    WriteBytes(path, "[LocAdmin_Strings]\r\n");
    const TStringTable table(path);

    // Held for a moment: the write goes through once it is let go.
    HANDLE held = OpenExclusively(path);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::jthread release([held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        CloseHandle(held);
    });
    EXPECT_EQ(table.AddTableString("A", "first", false).status, TStringTable::AddStatus::Written);
    release.join();
    EXPECT_EQ(ReadBytes(path), "[LocAdmin_Strings]\r\nA=first;\r\n");

    // Held for longer than the program waits: refused with the system's reason, the file whole.
    held = OpenExclusively(path);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::string reason;
    EXPECT_FALSE(ProfileWriteString(path, "LocAdmin_Strings", "B", "second;", &reason));
    EXPECT_EQ(reason, SystemText(ERROR_SHARING_VIOLATION));
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(path), "[LocAdmin_Strings]\r\nA=first;\r\n");
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"stringtable.ini"});
}
