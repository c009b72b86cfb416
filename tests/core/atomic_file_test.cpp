#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "core/atomic_file.h"
#include "core/io_error.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

namespace fs = std::filesystem;

fs::perms PermissionsOf(const std::string& path) { return fs::status(path).permissions(); }

TEST(AtomicFile, NewFilesFollowTheUmaskAndReplacedFilesKeepTheirMode) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no umask or POSIX modes";
#endif
  test::TempDir dir;
  const mode_t oldMask = ::umask(027);
  WriteFileAtomically(dir.file("new"), "abc", 3);
  ::umask(oldMask);
  EXPECT_EQ(PermissionsOf(dir.file("new")), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  test::WriteBytes(dir.file("kept"), {1});
  fs::permissions(dir.file("kept"), fs::perms::owner_read | fs::perms::owner_write);
  WriteFileAtomically(dir.file("kept"), "abcd", 4);
  EXPECT_EQ(PermissionsOf(dir.file("kept")), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(test::ReadBytes(dir.file("kept")), (std::vector<std::uint8_t>{'a', 'b', 'c', 'd'}));
  EXPECT_EQ(test::ListFolder(dir.path()), (std::vector<std::string>{"kept", "new"}));
}

TEST(AtomicFile, UncommittedWritesLeaveNothingBehind) {
  test::TempDir dir;
  test::WriteBytes(dir.file("target"), {9, 9});
  {
    AtomicFile file(dir.file("target"));
    file.write("partial", 7);
  }
  EXPECT_EQ(test::ReadBytes(dir.file("target")), (std::vector<std::uint8_t>{9, 9}));
  EXPECT_EQ(test::ListFolder(dir.path()), std::vector<std::string>{"target"});
}

TEST(AtomicFile, AFolderInTheWayIsAnInvalidName) {
  test::TempDir dir;
  fs::create_directory(dir.file("Map4500.bmp"));
  try {
    WriteFileAtomically(dir.file("Map4500.bmp"), "x", 1);
    ADD_FAILURE();
  } catch (const IoError& error) {
    EXPECT_EQ(error.code(), kIoInvalidFilename);
  }
  EXPECT_TRUE(fs::is_directory(dir.file("Map4500.bmp")));
  EXPECT_EQ(test::ListFolder(dir.path()), std::vector<std::string>{"Map4500.bmp"});
}

}  // namespace
}  // namespace kxc2
