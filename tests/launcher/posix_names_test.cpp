#include "launcher/posix_names.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

namespace fs = std::filesystem;

enum class Kind { Folder, File, Fifo, LinkToFolder, DanglingLink };

struct Entry {
  const char* name;
  Kind kind;
};

void Make(const fs::path& folder, const Entry& entry) {
  const fs::path path = folder / entry.name;
  switch (entry.kind) {
    case Kind::Folder: fs::create_directory(path); break;
    case Kind::File: test::WriteBytes(path, {'x'}); break;
    case Kind::Fifo: ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); break;
    case Kind::LinkToFolder:
      fs::create_directory(folder / "target");
      fs::create_directory_symlink(folder / "target", path);
      break;
    case Kind::DanglingLink: fs::create_symlink(folder / "nowhere", path); break;
  }
}

struct EntryCase {
  const char* title;
  std::vector<Entry> entries;
  const char* asked;
  std::optional<std::string> found;
};
// Without it gtest prints the raw bytes, padding and all, which valgrind
// rightly calls uninitialised.
void PrintTo(const EntryCase& c, std::ostream* out) { *out << c.title; }

class VisibleEntry : public ::testing::TestWithParam<EntryCase> {};

TEST_P(VisibleEntry, FindsFoldersAndFilesInAnyCase) {
  const EntryCase& c = GetParam();
  test::TempDir dir;
  for (const Entry& entry : c.entries) Make(dir.path(), entry);
  EXPECT_EQ(FindVisibleEntry(dir.path().string(), c.asked), c.found);
}

const EntryCase kEntryCases[] = {
    {"Missing", {}, "USERMAP", std::nullopt},
    {"ExactFolder", {{"USERMAP", Kind::Folder}}, "USERMAP", "USERMAP"},
    {"MixedCaseFolder", {{"UserMap", Kind::Folder}}, "USERMAP", "UserMap"},
    {"LowerCaseFile", {{"map", Kind::File}}, "MAP", "map"},
    {"Fifo", {{"MAP", Kind::Fifo}}, "MAP", std::nullopt},
    {"LinkToFolder", {{"Map", Kind::LinkToFolder}}, "MAP", "Map"},
    {"DanglingLink", {{"MAP", Kind::DanglingLink}}, "MAP", std::nullopt},
    {"LongerName", {{"USERMAPS", Kind::Folder}, {"SERMAP", Kind::Folder}}, "USERMAP", std::nullopt},
    {"ExactWins", {{"UserMap", Kind::Folder}, {"USERMAP", Kind::Folder}}, "USERMAP", "USERMAP"},
    {"LowestSpellingWins",
     {{"usermap", Kind::Folder}, {"UserMap", Kind::Folder}},
     "USERMAP",
     "UserMap"},
    {"SkipsWhatDoesNotCount",
     {{"USERMAP", Kind::Fifo}, {"usermap", Kind::Folder}},
     "USERMAP",
     "usermap"},
    {"DotNameIsHidden", {{".map", Kind::Folder}}, ".MAP", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(All, VisibleEntry, ::testing::ValuesIn(kEntryCases),
                         [](const auto& info) { return std::string(info.param.title); });

TEST(VisibleEntry, MissingFolderFindsNothing) {
  test::TempDir dir;
  EXPECT_EQ(FindVisibleEntry(dir.file("gone"), "MAP"), std::nullopt);
}

TEST(EqualIgnoringCase, ComparesAsciiLettersOnly) {
  EXPECT_TRUE(EqualIgnoringCase("korvex2.exe", "KORVEX2.EXE"));
  EXPECT_TRUE(EqualIgnoringCase("", ""));
  EXPECT_FALSE(EqualIgnoringCase("korvex2.exe", "korvex2.ex"));
  EXPECT_FALSE(EqualIgnoringCase("MAP", "MAQ"));
  // '@' and '`' sit next to the letters; they are not case pairs.
  EXPECT_FALSE(EqualIgnoringCase("@", "`"));
  EXPECT_FALSE(EqualIgnoringCase("[", "{"));
}

TEST(SplitSearchPath, SkipsEmptyElements) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitSearchPath(""), V{});
  EXPECT_EQ(SplitSearchPath("/usr/bin"), V{"/usr/bin"});
  EXPECT_EQ(SplitSearchPath(":/a::b/c:"), (V{"/a", "b/c"}));
}

TEST(SearchFile, FirstFolderWithTheFileWinsWhateverItsCase) {
  test::TempDir dir;
  for (const char* name : {"own", "current", "path1", "path2"}) fs::create_directory(dir.path() / name);
  fs::create_directory(dir.path() / "own" / "korvex2.exe");  // a folder does not count
  test::WriteBytes(dir.path() / "current" / "KORVEX2.EXE", {'x'});
  test::WriteBytes(dir.path() / "path1" / "korvex2.exe", {'x'});
  const std::vector<std::string> folders = {dir.file("own"), dir.file("current"), dir.file("path1"),
                                            dir.file("path2")};
  EXPECT_EQ(SearchFile(folders, "korvex2.exe"), dir.file("current") + "/KORVEX2.EXE");
  EXPECT_EQ(SearchFile({dir.file("own"), dir.file("path2"), dir.file("path1")}, "korvex2.exe"),
            dir.file("path1") + "/korvex2.exe");
  EXPECT_EQ(SearchFile({dir.file("own"), dir.file("path2")}, "korvex2.exe"), std::nullopt);
  EXPECT_EQ(SearchFile({dir.folder() + "current"}, "korvex2.exe"),
            dir.file("current") + "/KORVEX2.EXE");
}

TEST(FindProgramOnPath, TakesTheFirstExecutableOfThatExactName) {
  test::TempDir dir;
  for (const char* name : {"a", "b", "c"}) fs::create_directory(dir.path() / name);
  test::WriteBytes(dir.path() / "a" / "wine", {'x'});  // not executable
  test::WriteBytes(dir.path() / "b" / "Wine", {'x'});
  fs::permissions(dir.path() / "b" / "Wine", fs::perms::owner_all);
  test::WriteBytes(dir.path() / "c" / "wine", {'x'});
  fs::permissions(dir.path() / "c" / "wine", fs::perms::owner_all);
  const std::string path = dir.file("a") + ":" + dir.file("b") + ":" + dir.file("c");
  // Under root every file passes the exec test once any exec bit is set.
  EXPECT_EQ(FindProgramOnPath(path, "wine"), dir.file("c") + "/wine");
  EXPECT_EQ(FindProgramOnPath(dir.file("a") + ":" + dir.file("b"), "wine"), std::nullopt);
}

}  // namespace
}  // namespace kxc2
