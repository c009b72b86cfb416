#include "editing/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using test::ListFolder;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

struct ValueCase {
  const char* name;
  std::string file;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};
// Without it gtest prints the raw bytes, padding and all, which valgrind
// rightly calls uninitialised.
void PrintTo(const ValueCase& c, std::ostream* out) { *out << c.name; }

class IniValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(IniValueTest, ReadsAsWindowsProgramsWriteIt) {
  const ValueCase& c = GetParam();
  EXPECT_EQ(IniFile::Parse(c.file).value(c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniValueTest,
    ::testing::Values(
        ValueCase{"BackslashesRaw", "[Locations]\r\nKC2=D:\\Games\\K2\\\r\n", "Locations", "KC2",
                  "D:\\Games\\K2\\"},
        ValueCase{"LfLineEnds", "[Locations]\nKC2=D:\\Games\\K2\\\n", "Locations", "KC2", "D:\\Games\\K2\\"},
        ValueCase{"NoFinalLineEnd", "[Locations]\r\nKC2=C:\\K2\\", "Locations", "KC2", "C:\\K2\\"},
        ValueCase{"ByteOrderMark", "\xEF\xBB\xBF[Locations]\r\nKC2=/games/k2/\r\n", "Locations", "KC2",
                  "/games/k2/"},
        ValueCase{"SectionCaseIgnored", "[LOCATIONS]\r\nKC2=x\r\n", "Locations", "KC2", "x"},
        ValueCase{"KeyCaseIgnored", "[Locations]\r\nkc2=x\r\n", "Locations", "KC2", "x"},
        ValueCase{"CommasAndSemicolonsKept", "[Locations]\r\nKC2=D:\\A,B;C\\\r\n", "Locations", "KC2",
                  "D:\\A,B;C\\"},
        ValueCase{"BlanksAroundTrimmed", "  [ Locations ]  \r\n  KC2 =  D:\\K2\\  \r\n", "Locations", "KC2",
                  "D:\\K2\\"},
        ValueCase{"QuotesDropped", "[Locations]\r\nKC2=\"D:\\My Games\\K2\\\"\r\n", "Locations", "KC2",
                  "D:\\My Games\\K2\\"},
        ValueCase{"EmptyValue", "[Locations]\r\nKC2=\r\n", "Locations", "KC2", ""},
        ValueCase{"EqualsInValue", "[Locations]\r\nKC2=a=b\r\n", "Locations", "KC2", "a=b"},
        ValueCase{"CommentLineSkipped", "[Locations]\r\n;KC2=old\r\nKC2=new\r\n", "Locations", "KC2", "new"},
        ValueCase{"FirstOfTwoKeys", "[Locations]\r\nKC2=first\r\nKC2=second\r\n", "Locations", "KC2", "first"},
        ValueCase{"KeyInOtherSection", "[Other]\r\nKC2=x\r\n[Locations]\r\nX=1\r\n", "Locations", "KC2",
                  std::nullopt},
        ValueCase{"KeyBeforeAnySection", "KC2=x\r\n[Locations]\r\n", "Locations", "KC2", std::nullopt},
        ValueCase{"NoSection", "", "Locations", "KC2", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFileTest, LongLineReadsWhole) {
  const std::string folder = "D:\\" + std::string(300, 'a') + "\\K2\\";
  EXPECT_EQ(IniFile::Parse("[Locations]\r\nKC2=" + folder + "\r\n").value("Locations", "KC2"), folder);
}

TEST(IniFileTest, ReadStringFallsBack) {
  const IniFile file = IniFile::Parse("[Locations]\r\n");
  EXPECT_EQ(file.readString("Locations", "KC2", "/prog/"), "/prog/");
}

TEST(IniFileTest, WritingCreatesTheFileWithCrLf) {
  TempDir dir;
  const std::string path = dir.file("KXC2MAP.INI");
  WriteIniString(path, "Locations", "KC2", "D:\\Games\\K2\\");
  EXPECT_EQ(Text(ReadBytes(path)), "[Locations]\r\nKC2=D:\\Games\\K2\\\r\n");
  EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"KXC2MAP.INI"});
}

TEST(IniFileTest, WrittenValueReadsBackExactly) {
  TempDir dir;
  const std::string path = dir.file("KXC2MAP.INI");
  const std::string folder = "/home/user/" + std::string(250, 'g') + "/K2, new; copy\\/";
  WriteIniString(path, "Locations", "KC2", folder);
  EXPECT_EQ(IniFile::Load(path).value("locations", "kc2"), folder);
}

TEST(IniFileTest, WritingKeepsOtherLinesAndReplacesKeyInPlace) {
  TempDir dir;
  const std::string path = dir.file("KXC2MAP.INI");
  WriteBytes(path, Bytes("; mine\n[Other]\nA=1\n\n[locations]\nkc2=old\nB=2\n"));
  WriteIniString(path, "Locations", "KC2", "new");
  EXPECT_EQ(Text(ReadBytes(path)), "; mine\r\n[Other]\r\nA=1\r\n\r\n[locations]\r\nkc2=new\r\nB=2\r\n");
}

TEST(IniFileTest, NewKeyGoesAtTheEndOfItsSection) {
  IniFile file = IniFile::Parse("[Locations]\r\nA=1\r\n\r\n[Other]\r\nB=2\r\n");
  file.writeString("Locations", "KC2", "x");
  EXPECT_EQ(file.text(), "[Locations]\r\nA=1\r\nKC2=x\r\n\r\n[Other]\r\nB=2\r\n");
}

TEST(IniFileTest, NewSectionIsAppended) {
  IniFile file = IniFile::Parse("[Other]\r\nB=2\r\n");
  file.writeString("Locations", "KC2", "x");
  EXPECT_EQ(file.text(), "[Other]\r\nB=2\r\n[Locations]\r\nKC2=x\r\n");
}

TEST(IniFileTest, MissingFileLoadsEmpty) {
  TempDir dir;
  EXPECT_EQ(IniFile::Load(dir.file("none.ini")).text(), "");
}

TEST(IniFileTest, FailedWriteLeavesWhatWasThereAndNoLeftovers) {
  TempDir dir;
  // A folder with something in it cannot be replaced by the settings file.
  std::filesystem::create_directories(dir.path() / "KXC2MAP.INI" / "kept");
  EXPECT_THROW(WriteIniString(dir.file("KXC2MAP.INI"), "Locations", "KC2", "new"), std::exception);
  EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"KXC2MAP.INI"});
  EXPECT_EQ(ListFolder(dir.path() / "KXC2MAP.INI"), std::vector<std::string>{"kept"});
}

TEST(IniFileTest, WriteIntoMissingFolderThrowsAndCreatesNothing) {
  TempDir dir;
  EXPECT_THROW(WriteIniString(dir.file("gone/KXC2MAP.INI"), "Locations", "KC2", "x"), std::exception);
  EXPECT_TRUE(ListFolder(dir.path()).empty());
}

}  // namespace
}  // namespace kxc2
