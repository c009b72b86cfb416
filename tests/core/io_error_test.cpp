#include <gtest/gtest.h>

#include <cerrno>

#include "core/io_error.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

TEST(IoError, MessagesOfEveryCode) {
  const struct {
    int code;
    const char* message;
  } cases[] = {{2, "File not found"},   {3, "Invalid filename"},        {4, "Too many open files"},
               {5, "File access denied"}, {100, "Read beyond end of file"}, {101, "Disk full"},
               {106, "Invalid numeric input"}, {32, "I/O error 32"},      {5000, "I/O error 5000"}};
  for (const auto& c : cases) {
    EXPECT_EQ(IoErrorMessage(c.code), c.message);
    EXPECT_STREQ(IoError(c.code).what(), c.message);
  }
}

TEST(IoError, ErrnoMapping) {
  test::TempDir dir;
  const struct {
    int err;
    std::string path;
    int code;
  } cases[] = {
      {ENOENT, dir.file("missing.map"), 2},  {ENOENT, dir.file("gone/x.map"), 3}, {ENOTDIR, dir.file("x"), 3},
      {EACCES, dir.file("x"), 5},            {EPERM, dir.file("x"), 5},           {EROFS, dir.file("x"), 5},
      {ENOSPC, dir.file("x"), 101},          {EFBIG, dir.file("x"), 101},         {EMFILE, dir.file("x"), 4},
      {EIO, dir.file("x"), EIO},
  };
  for (const auto& c : cases) EXPECT_EQ(IoCodeFromErrno(c.err, c.path), c.code) << c.err << " " << c.path;
}

}  // namespace
}  // namespace kxc2
