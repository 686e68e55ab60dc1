// Tests of INI files, the emulated registry and special folders.
#include "platform/rtl/IniFiles.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/SpecialFolders.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using rtl::U;
using rtl::UnicodeString;

// INI files and the registry store side by side in a folder of the test's own.
class IniFilesTest : public ::testing::Test {
protected:
    UnicodeString Path(const char *name) const { return Store.Folder().File(name); }
    void WriteBytes(const char *name, const std::string &bytes) const {
        wbtest::WriteFileBytes(Store.Folder() / name, bytes);
    }
    std::string ReadBytes(const char *name) const {
        return wbtest::ReadFileBytes(Store.Folder() / name);
    }
    wbtest::TRegistryStoreScope Store;
};

TEST_F(IniFilesTest, ParsesSectionsNamesAndValuesWithoutRegardToCase) {
    WriteBytes("a.ini", "; comment\r\nstray=1\r\n[Main]\r\n Name = Value one \r\n\r\n"
                        "Count=$1F\r\n[main]\r\nname=replaced\r\nnoequals\r\n");
    rtl::TMemIniFile ini(Path("a.ini"));
    EXPECT_EQ(ini.ReadString(u"MAIN", u"NAME", u"-"), u"replaced");
    EXPECT_EQ(ini.ReadInteger(u"Main", u"Count", 0), 31);
    EXPECT_EQ(ini.ReadString(u"Main", u"stray", u"-"), u"-");
    rtl::TStringList sections;
    ini.ReadSections(sections);
    ASSERT_EQ(sections.GetCount(), 1);
    EXPECT_EQ(sections[0], u"Main");
}

TEST_F(IniFilesTest, TypedValuesRoundTripThroughTheFile) {
    {
        rtl::TMemIniFile ini(Path("b.ini"), rtl::TEncoding::UTF8());
        ini.WriteInteger(u"S", u"Int", -42);
        ini.WriteBool(u"S", u"Yes", true);
        ini.WriteBool(u"S", u"No", false);
        ini.WriteFloat(u"S", u"F", 2.5);
        ini.WriteString(u"Секция", u"Имя", U("Значение"));
        rtl::TMemoryStream bytes;
        bytes.Write("\x00\x7F\xFF", 3);
        bytes.SetPosition(0);
        ini.WriteBinaryStream(u"S", u"Bin", bytes);
        ini.UpdateFile();
    }
    EXPECT_EQ(ReadBytes("b.ini").substr(0, 3), "\xEF\xBB\xBF");
    rtl::TMemIniFile ini(Path("b.ini"));
    EXPECT_EQ(ini.ReadString(u"S", u"Int", u""), u"-42");
    EXPECT_EQ(ini.ReadInteger(u"S", u"Int", 0), -42);
    EXPECT_TRUE(ini.ReadBool(u"S", u"Yes", false));
    EXPECT_FALSE(ini.ReadBool(u"S", u"No", true));
    EXPECT_EQ(ini.ReadString(u"S", u"Yes", u""), u"1");
    EXPECT_DOUBLE_EQ(ini.ReadFloat(u"S", u"F", 0), 2.5);
    EXPECT_EQ(ini.ReadString(u"секция", u"имя", u""), U("Значение"));
    EXPECT_EQ(ini.ReadString(u"S", u"Bin", u""), u"007FFF");
    rtl::TMemoryStream back;
    EXPECT_EQ(ini.ReadBinaryStream(u"S", u"Bin", back), 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(back.GetMemory()), 3),
              std::string("\x00\x7F\xFF", 3));
}

TEST_F(IniFilesTest, MissingAndMalformedValuesGiveTheDefault) {
    rtl::TMemIniFile ini(Path("none.ini"));
    ini.WriteString(u"S", u"Text", u"abc");
    EXPECT_EQ(ini.ReadInteger(u"S", u"Text", 7), 7);
    EXPECT_EQ(ini.ReadInteger(u"S", u"Missing", 9), 9);
    EXPECT_TRUE(ini.ReadBool(u"S", u"Missing", true));
    EXPECT_DOUBLE_EQ(ini.ReadFloat(u"S", u"Text", 1.5), 1.5);
    rtl::TMemoryStream s;
    EXPECT_EQ(ini.ReadBinaryStream(u"S", u"Missing", s), 0);
}

TEST_F(IniFilesTest, EraseDeleteAndSectionValues) {
    rtl::TMemIniFile ini(Path("c.ini"));
    ini.WriteString(u"A", u"x", u"1");
    ini.WriteString(u"A", u"y", u"2");
    ini.WriteString(u"B", u"z", u"3");
    rtl::TStringList values;
    ini.ReadSectionValues(u"a", values);
    ASSERT_EQ(values.GetCount(), 2);
    EXPECT_EQ(values[1], u"y=2");
    ini.DeleteKey(u"A", u"X");
    EXPECT_FALSE(ini.ValueExists(u"A", u"x"));
    EXPECT_TRUE(ini.ValueExists(u"A", u"y"));
    ini.EraseSection(u"b");
    EXPECT_FALSE(ini.SectionExists(u"B"));
}

TEST_F(IniFilesTest, IniFileWritesThroughAtOnce) {
    rtl::TIniFile ini(Path("d.ini"));
    ini.WriteInteger(u"S", u"N", 5);
    rtl::TMemIniFile other(Path("d.ini"));
    EXPECT_EQ(other.ReadInteger(u"S", u"N", 0), 5);
}

// Outside input: bad files are refused with a clear error, never half read.
TEST_F(IniFilesTest, RejectsBadInput) {
    WriteBytes("hdr.ini", "[Open\r\nx=1\r\n");
    try {
        rtl::TMemIniFile ini(Path("hdr.ini"));
        FAIL() << "no error";
    } catch (const rtl::EIniFileException &e) {
        EXPECT_NE(std::string(e.what()).find("line 1"), std::string::npos) << e.what();
    }
    WriteBytes("long.ini", "[S]\nx=" + std::string(70000, 'a') + "\n");
    EXPECT_THROW(rtl::TMemIniFile(Path("long.ini")), rtl::EIniFileException);
    WriteBytes("hex.ini", "[S]\nodd=ABC\nbad=zz\n");
    rtl::TMemIniFile ini(Path("hex.ini"));
    rtl::TMemoryStream s;
    EXPECT_THROW(ini.ReadBinaryStream(u"S", u"odd", s), rtl::EIniFileException);
    EXPECT_THROW(ini.ReadBinaryStream(u"S", u"bad", s), rtl::EIniFileException);
    EXPECT_EQ(s.GetSize(), 0);
}

TEST_F(IniFilesTest, UnwritableFileGivesTheIniError) {
    rtl::TIniFile ini(Path("missing-folder/x.ini"));
    try {
        ini.WriteString(u"S", u"k", u"v");
        FAIL() << "no error";
    } catch (const rtl::EIniFileException &e) {
        EXPECT_EQ(e.Message(), u"Не удалось сохранить файл \"" + Path("missing-folder/x.ini") +
                                   u"\". Системе не удается найти указанный путь");
    }
}

TEST_F(IniFilesTest, RefusesTextTheFileCannotHold) {
    rtl::TMemIniFile ini(Path("e.ini"));
    EXPECT_THROW(ini.WriteString(u"S", u"a=b", u"1"), rtl::EIniFileException);
    EXPECT_THROW(ini.WriteString(u"S", u"a", u"1\r\n[X]"), rtl::EIniFileException);
    EXPECT_THROW(ini.WriteString(u"S", u"", u"1"), rtl::EIniFileException);
}

TEST_F(IniFilesTest, Utf16FilesAreReadBySignature) {
    std::string bytes = "\xFF\xFE";
    for (char c : std::string("[S]\r\nk=v\r\n")) {
        bytes += c;
        bytes += '\0';
    }
    WriteBytes("u.ini", bytes);
    rtl::TMemIniFile ini(Path("u.ini"));
    EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"v");
    EXPECT_TRUE(ini.GetEncoding() == rtl::TEncoding::Unicode());
}

TEST_F(IniFilesTest, RegistryKeysAndTypedValues) {
    {
        rtl::TRegistry reg;
        reg.SetRootKey(rtl::HKEY_CURRENT_USER);
        EXPECT_FALSE(reg.OpenKey(u"\\Software\\Test", false));
        ASSERT_TRUE(reg.OpenKey(u"\\Software\\Test", true));
        reg.WriteString(u"Name", U("Тема"));
        reg.WriteInteger(u"Count", -3);
        const uint8_t data[] = {1, 2, 0xAB};
        reg.WriteBinaryData(u"Bin", data, 3);
        reg.WriteString(u"", u"default");
    }
    rtl::TRegistry reg;
    EXPECT_TRUE(reg.KeyExists(u"\\SOFTWARE\\test"));
    EXPECT_TRUE(reg.KeyExists(u"\\Software"));
    ASSERT_TRUE(reg.OpenKey(u"\\Software\\Test", false));
    EXPECT_EQ(reg.ReadString(u"name"), U("Тема"));
    EXPECT_EQ(reg.ReadInteger(u"Count"), -3);
    EXPECT_EQ(reg.GetDataType(u"Count"), rtl::rdInteger);
    EXPECT_EQ(reg.GetDataType(u"Bin"), rtl::rdBinary);
    EXPECT_EQ(reg.GetDataSize(u"Bin"), 3);
    EXPECT_EQ(reg.ReadString(u""), u"default");
    EXPECT_THROW(reg.ReadInteger(u"Name"), rtl::ERegistryException);
    EXPECT_THROW(reg.ReadInteger(u"Missing"), rtl::ERegistryException);
    rtl::TStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(names.GetCount(), 4);
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey(u"\\Software"));
    EXPECT_FALSE(reg.KeyExists(u"\\Software\\Test"));
}

TEST_F(IniFilesTest, RegistryIniFileSectionsAreSubKeys) {
    {
        rtl::TRegistryIniFile ini(u"\\Software\\Temp\\App");
        ini.WriteString(u"ThemeManager", u"ColorName", u"Metallic");
        ini.WriteBool(u"Frame", u"Visible", true);
        ini.WriteInteger(u"Frame", u"Style", 10);
        ini.WriteFloat(u"Frame", u"Ratio", 0.25);
    }
    rtl::TRegistryIniFile ini(u"\\Software\\Temp\\App");
    EXPECT_EQ(ini.ReadString(u"ThemeManager", u"ColorName", u""), u"Metallic");
    EXPECT_TRUE(ini.ReadBool(u"Frame", u"Visible", false));
    EXPECT_EQ(ini.ReadInteger(u"Frame", u"Style", 0), 10);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(u"Frame", u"Ratio", 0), 0.25);
    EXPECT_EQ(ini.ReadString(u"Frame", u"Style", u"def"), u"def");
    EXPECT_EQ(ini.ReadInteger(u"Nope", u"Style", 4), 4);
    rtl::TStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections.GetCount(), 2);
    ini.EraseSection(u"Frame");
    EXPECT_FALSE(ini.SectionExists(u"Frame"));
    EXPECT_TRUE(ini.SectionExists(u"ThemeManager"));
}

TEST_F(IniFilesTest, RegistryStoreFileIsReadWithTheIniChecks) {
    WriteBytes("registry.ini", "[HKEY_CURRENT_USER\\Software\\X]\nv=dword:notanumber\nw=odd\n");
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"\\Software\\X", false));
    EXPECT_THROW(reg.ReadInteger(u"v"), rtl::ERegistryException);
    EXPECT_EQ(reg.GetDataType(u"w"), rtl::rdUnknown);
    WriteBytes("broken.ini", "[HKEY_CURRENT_USER\n");
    rtl::SetRegistryStoreFileForTesting(Path("broken.ini"));
    EXPECT_THROW(reg.KeyExists(u"\\Software"), rtl::EIniFileException);
}

TEST_F(IniFilesTest, SpecialFoldersFollowXdgVariables) {
    const UnicodeString cfg = Path("cfg");
    setenv("XDG_CONFIG_HOME", rtl::Utf16ToUtf8(cfg).c_str(), 1);
    UnicodeString path;
    ASSERT_TRUE(rtl::GetSpecialFolderPath(rtl::CSIDL_APPDATA, path, true));
    EXPECT_EQ(path, cfg);
    EXPECT_TRUE(rtl::DirectoryExists(cfg));
    EXPECT_FALSE(rtl::GetSpecialFolderPath(12345, path, false));
    EXPECT_TRUE(path.empty());
    unsetenv("XDG_CONFIG_HOME");
}

} // namespace
