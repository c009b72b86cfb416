#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kxc2 {

// The whole content of an ordinary file (following links); nothing for a
// missing file, a folder, a pipe or device (opening a pipe would wait for a
// writer for ever) or a read that fails.
std::optional<std::vector<std::uint8_t>> ReadOrdinaryFile(const std::string& path);

// Writes bytes safely: a failure never leaves a partial file under path. A
// file that cannot be created throws std::runtime_error "Cannot create file
// PATH"; a failed write throws the IoError of the write.
void WriteExportFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace kxc2
