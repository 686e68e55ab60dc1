// Tests of safe saving: the file is replaced whole or not at all, and every save path of the
// class library goes through it.
#include "platform/rtl/SafeSave.h"

#include "platform/rtl/Files.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/StringList.h"
#include "tests/support/SaveFaults.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

namespace {

using rtl::UnicodeString;

std::vector<std::string> Entries(const std::filesystem::path &folder) {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SafeSave, ReplacesTheFileWholeAndKeepsItsPermissions) {
    wbtest::TTempFolder folder;
    wbtest::WriteFileBytes(folder / "a.txt", "old content, longer than the new");
    ::chmod((folder / "a.txt").c_str(), 0640);
    rtl::SaveBytesSafely(folder.File("a.txt"), "new", 3);
    EXPECT_EQ(wbtest::ReadFileBytes(folder / "a.txt"), "new");
    struct stat info {};
    ASSERT_EQ(::stat((folder / "a.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"a.txt"});
}

TEST(SafeSave, ReplacesTheFileALinkPointsTo) {
    wbtest::TTempFolder folder;
    wbtest::WriteFileBytes(folder / "real.txt", "old");
    std::filesystem::create_symlink(folder / "real.txt", folder / "link.txt");
    rtl::SaveBytesSafely(folder.File("link.txt"), "new", 3);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.txt"));
    EXPECT_EQ(wbtest::ReadFileBytes(folder / "real.txt"), "new");
}

// Every step of a save can fail; each keeps the old file and names the file and the reason.
TEST(SafeSave, AFailingStepKeepsTheOldFileAndNamesFileAndReason) {
    struct TCase {
        rtl::TSaveStepForTesting Step;
        int Error;
        const char16_t *Reason;
    };
    const TCase cases[] = {
        {rtl::TSaveStepForTesting::Create, EACCES, u"Отказано в доступе"},
        {rtl::TSaveStepForTesting::Write, ENOSPC, u"Недостаточно места на диске"},
        {rtl::TSaveStepForTesting::Write, EDQUOT, u"Недостаточно места на диске"},
        {rtl::TSaveStepForTesting::Sync, EIO, nullptr},
        {rtl::TSaveStepForTesting::Close, ENOSPC, u"Недостаточно места на диске"},
        {rtl::TSaveStepForTesting::Rename, EROFS, u"Отказано в доступе"},
        {rtl::TSaveStepForTesting::Rename, EPERM, u"Отказано в доступе"},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(int(c.Step));
        wbtest::TTempFolder folder;
        wbtest::WriteFileBytes(folder / "a.txt", "old");
        const rtl::TSaveFailureForTesting failure(c.Step, c.Error);
        try {
            rtl::SaveBytesSafely(folder.File("a.txt"), "new content", 11);
            ADD_FAILURE() << "no error";
        } catch (const rtl::EFileSaveError &e) {
            const UnicodeString reason =
                c.Reason ? UnicodeString(c.Reason) : rtl::FileErrorMessage(c.Error, u"");
            EXPECT_EQ(e.Message(),
                      u"Не удалось сохранить файл \"" + folder.File("a.txt") + u"\". " + reason);
            EXPECT_EQ(e.GetErrorCode(), c.Error);
        }
        EXPECT_EQ(wbtest::ReadFileBytes(folder / "a.txt"), "old");
        EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"a.txt"});
    }
}

TEST(SafeSave, RefusesAMissingFolderAFolderAndAFifo) {
    wbtest::TTempFolder folder;
    std::filesystem::create_directory(folder / "sub");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    const struct {
        const char *Name;
        const char16_t *Reason;
    } cases[] = {{"missing/a.txt", u"Системе не удается найти указанный путь"},
                 {"sub", u"Отказано в доступе"},
                 {"fifo", u"Это не файл, а устройство или канал"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        try {
            rtl::SaveBytesSafely(folder.File(c.Name), "x", 1);
            ADD_FAILURE() << "no error";
        } catch (const rtl::EFileSaveError &e) {
            EXPECT_EQ(e.Message(),
                      u"Не удалось сохранить файл \"" + folder.File(c.Name) + u"\". " + c.Reason);
        }
    }
    EXPECT_EQ(Entries(folder.Path()), (std::vector<std::string>{"fifo", "sub"}));
}

TEST(SafeSave, AWriterThatFailsLeavesNothingBehind) {
    wbtest::TTempFolder folder;
    wbtest::WriteFileBytes(folder / "a.txt", "old");
    EXPECT_THROW(rtl::SaveFileSafely(folder.File("a.txt"),
                                     [](rtl::TStream &stream) {
                                         stream.WriteBuffer("half", 4);
                                         throw rtl::EConvertError(std::string_view("bad data"));
                                     }),
                 rtl::EConvertError);
    EXPECT_EQ(wbtest::ReadFileBytes(folder / "a.txt"), "old");
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"a.txt"});
}

// The class library's own save paths, each against a full disk, a read-only folder and
// injected failures.
TEST(SafeSave, EverySavePathKeepsTheOldFile) {
    const std::string oldIni = "[S]\r\nk=old\r\n";
    const struct {
        const char *Name;
        std::function<void(const UnicodeString &)> Save;
    } paths[] = {
        {"memory stream",
         [](const UnicodeString &name) {
             rtl::TMemoryStream stream;
             stream.WriteBuffer("new bytes", 9);
             stream.SaveToFile(name);
         }},
        {"string list",
         [](const UnicodeString &name) {
             rtl::TStringList lines;
             lines.Add(u"new line");
             lines.SaveToFile(name);
         }},
        {"memory INI file",
         [](const UnicodeString &name) {
             rtl::TMemIniFile ini(name);
             ini.WriteString(u"S", u"k", u"new");
             ini.UpdateFile();
         }},
        {"INI file", [](const UnicodeString &name) { rtl::TIniFile(name).DeleteKey(u"S", u"k"); }},
        {"registry store",
         [](const UnicodeString &name) {
             rtl::SetRegistryStoreFileForTesting(name);
             rtl::TRegistry registry;
             registry.OpenKey(u"Software\\Test", true);
             registry.WriteString(u"k", u"new");
         }},
    };
    for (const auto &path : paths) {
        SCOPED_TRACE(path.Name);
        wbtest::ExpectSaveFailuresKeepTheOldFile("file.ini", oldIni, path.Save);
    }
    rtl::SetRegistryStoreFileForTesting(u"");
}

} // namespace
