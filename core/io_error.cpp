#include "core/io_error.h"

#include <cerrno>

#include "core/os_files.h"

namespace kxc2 {
namespace {

// Is every folder on the way to path there?
bool FolderOfPathExists(const std::string& path) {
  return LastSeparator(path) == std::string::npos || KindOf(FolderOf(path)) == FileKind::Folder;
}

// The runtime code for errno values that have one, else 0.
int RuntimeCodeOf(int err, const std::string& path) {
  switch (err) {
    case ENOENT: return FolderOfPathExists(path) ? kIoFileNotFound : kIoInvalidFilename;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:  // links that lead round in a circle name nothing
    case EISDIR: return kIoInvalidFilename;
    case EMFILE:
    case ENFILE: return kIoTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return kIoAccessDenied;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return kIoDiskFull;
    default: return 0;
  }
}

}  // namespace

std::string IoErrorMessage(int code) {
  switch (code) {
    case kIoFileNotFound: return "File not found";
    case kIoInvalidFilename: return "Invalid filename";
    case kIoTooManyOpenFiles: return "Too many open files";
    case kIoAccessDenied: return "File access denied";
    case kIoReadBeyondEnd: return "Read beyond end of file";
    case kIoDiskFull: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
  }
}

int IoCodeFromErrno(int err, const std::string& path) {
  const int code = RuntimeCodeOf(err, path);
  return code != 0 ? code : err;
}

IoError IoErrorFromErrno(int err, const std::string& path) {
  const int code = RuntimeCodeOf(err, path);
  if (code != 0) return IoError(code);
  return IoError(err, "I/O error " + std::to_string(err));
}

}  // namespace kxc2
