// The I/O floor of `kxc2tool shp`: reads each bitmap whole and writes as many
// bytes as its SHP file has into OUT_FOLDER, under the bitmap's name.
// --safe writes as every file of the kit is written: a temporary beside the
// target, fsync, rename over the target, fsync of the folder. --plain
// overwrites the target in place and never waits for the disk.
//
// Usage: io_floor --safe|--plain OUT_FOLDER FILE SIZE [FILE SIZE]...
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool ReadWhole(const std::string& path, std::vector<char>& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool read = ::fstat(fd, &info) == 0;
  if (read) bytes.resize(static_cast<std::size_t>(info.st_size));
  for (std::size_t done = 0; read && done < bytes.size();) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    read = got > 0;
    if (read) done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  return read;
}

bool WriteAll(int fd, const std::vector<char>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote <= 0) return false;
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

bool WritePlain(const std::string& path, const std::vector<char>& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool wrote = WriteAll(fd, bytes);
  return ::close(fd) == 0 && wrote;
}

bool WriteSafely(const std::string& folder, const std::string& name, const std::vector<char>& bytes) {
  const std::string temp = folder + "/." + name + ".part";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool wrote = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !wrote || ::rename(temp.c_str(), (folder + "/" + name).c_str()) != 0) return false;
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return false;
  ::fsync(dir);
  return ::close(dir) == 0;
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

}  // namespace

int main(int argc, char** argv) {
  const bool safe = argc > 1 && std::strcmp(argv[1], "--safe") == 0;
  if (argc < 5 || argc % 2 != 1 || (!safe && std::strcmp(argv[1], "--plain") != 0)) {
    std::fputs("Usage: io_floor --safe|--plain OUT_FOLDER FILE SIZE [FILE SIZE]...\n", stderr);
    return 2;
  }
  const std::string folder = argv[2];
  std::vector<char> bytes;
  for (int i = 3; i < argc; i += 2) {
    const std::string path = argv[i];
    if (!ReadWhole(path, bytes)) {
      std::perror(path.c_str());
      return 1;
    }
    bytes.resize(std::strtoull(argv[i + 1], nullptr, 10));  // SHP files are smaller; a larger one pads
    const bool wrote = safe ? WriteSafely(folder, NameOf(path), bytes) : WritePlain(folder + "/" + NameOf(path), bytes);
    if (!wrote) {
      std::perror(NameOf(path).c_str());
      return 1;
    }
  }
  return 0;
}
