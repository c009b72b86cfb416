// Inputs the settings-file fuzzer found, kept so they stay fixed.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "editing/ini_file.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

const std::string kMark = "\xEF\xBB\xBF";

struct WrittenBackCase {
  const char* name;
  std::string file;
  std::optional<std::string> value;  // of Locations/KC2, before and after
};

void PrintTo(const WrittenBackCase& c, std::ostream* out) { *out << c.name; }

class IniWrittenBackTest : public ::testing::TestWithParam<WrittenBackCase> {};

// Writing the file back must not change what it says: the mark used to be
// dropped, so a second one at the start of the first line became the mark
// on the next read and the line below it a section.
TEST_P(IniWrittenBackTest, TextIsTheFileAsReadAndReadsTheSame) {
  const WrittenBackCase& c = GetParam();
  const IniFile file = IniFile::Parse(c.file);
  EXPECT_EQ(file.value("Locations", "KC2"), c.value);
  EXPECT_EQ(file.text(), c.file);
  EXPECT_EQ(IniFile::Parse(file.text()).value("Locations", "KC2"), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Findings, IniWrittenBackTest,
    ::testing::Values(
        WrittenBackCase{"OneMark", kMark + "[Locations]\r\nKC2=C:\\K2\\\r\n", "C:\\K2\\"},
        WrittenBackCase{"TwoMarks", kMark + kMark + "[Locations]\r\nKC2=C:\\K2\\\r\n", std::nullopt},
        WrittenBackCase{"TwoMarksBeforeAKey", kMark + kMark + "KC2=x\r\n[Locations]\r\nKC2=y\r\n", "y"}),
    [](const auto& info) { return std::string(info.param.name); });

// The fuzzer's own input (LF ends, a CR, NULs, marks inside a line).
TEST(IniFileFindings, FuzzerInputTextIsStable) {
  const std::string input("\xEF\xBB\xBF\xEF\xBB\xBF" "6[Locatiosn\xEF\xBB\xBF]\nKC\0\1\0\1\0\0KC2/\nK2\\\r:", 40);
  const std::string text = IniFile::Parse(input).text();
  EXPECT_EQ(text, std::string("\xEF\xBB\xBF\xEF\xBB\xBF" "6[Locatiosn\xEF\xBB\xBF]\r\nKC\0\1\0\1\0\0KC2/\r\nK2\\\r:\r\n", 44));
  EXPECT_EQ(IniFile::Parse(text).text(), text);
}

TEST(IniFileFindings, WritingAValueKeepsTheMark) {
  test::TempDir dir;
  const std::string path = dir.file("KXC2MAP.INI");
  test::WriteBytes(path, std::vector<std::uint8_t>{0xEF, 0xBB, 0xBF, 'A', '=', '1', '\n'});
  WriteIniString(path, "Locations", "KC2", "D:\\K2\\");
  const std::string expected = kMark + "A=1\r\n[Locations]\r\nKC2=D:\\K2\\\r\n";
  EXPECT_EQ(test::ReadBytes(path), std::vector<std::uint8_t>(expected.begin(), expected.end()));
  EXPECT_EQ(IniFile::Load(path).value("Locations", "KC2"), "D:\\K2\\");
}

}  // namespace
}  // namespace kxc2
