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
    const char* message;
  } cases[] = {
      {ENOENT, dir.file("missing.map"), 2, "File not found"},
      {ENOENT, dir.file("gone/x.map"), 3, "Invalid filename"},
      {ENOTDIR, dir.file("x"), 3, "Invalid filename"},
      {ELOOP, dir.file("x"), 3, "Invalid filename"},
      {EACCES, dir.file("x"), 5, "File access denied"},
      {EPERM, dir.file("x"), 5, "File access denied"},
      {EROFS, dir.file("x"), 5, "File access denied"},
      {ENOSPC, dir.file("x"), 101, "Disk full"},
      {EFBIG, dir.file("x"), 101, "Disk full"},
      {EMFILE, dir.file("x"), 4, "Too many open files"},
      // errno values that equal a runtime code still read as what they are.
      {EIO, dir.file("x"), EIO, "I/O error 5"},
      {EINTR, dir.file("x"), EINTR, "I/O error 4"},
      {100, dir.file("x"), 100, "I/O error 100"},  // ENETDOWN here, EADDRINUSE on Windows
      {101, dir.file("x"), 101, "I/O error 101"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IoCodeFromErrno(c.err, c.path), c.code) << c.err << " " << c.path;
    const IoError error = IoErrorFromErrno(c.err, c.path);
    EXPECT_EQ(error.code(), c.code) << c.err;
    EXPECT_STREQ(error.what(), c.message) << c.err;
  }
}

}  // namespace
}  // namespace kxc2
