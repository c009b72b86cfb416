#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kxc2::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // path() / name as text.
  std::string file(const std::string& name) const;
  // The folder with a trailing separator, as the kit's folder values are kept.
  std::string folder() const;

 private:
  std::filesystem::path path_;
};

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
// Names of the entries of a folder, sorted.
std::vector<std::string> ListFolder(const std::filesystem::path& path);

}  // namespace kxc2::test
