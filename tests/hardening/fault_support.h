#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kxc2::test {

// Key = value text that a forked child hands back to the test: the child
// cannot report gtest failures itself, so it describes what it saw and the
// parent checks. Lives in shared memory, so a child that dropped root can
// still write it.
class ChildReport {
 public:
  ChildReport();
  ~ChildReport();
  ChildReport(const ChildReport&) = delete;
  ChildReport& operator=(const ChildReport&) = delete;

  // In the child.
  void put(const std::map<std::string, std::string>& values, const std::string& prefix = "");
  // In the parent, after the child has ended.
  std::map<std::string, std::string> values() const;

 private:
  static constexpr std::size_t kSize = 1 << 16;
  char* text_ = nullptr;
};

// Every entry below folder, folders marked with a trailing "/", symbolic
// links with "@", sorted; descends into real folders only.
std::vector<std::string> Tree(const std::filesystem::path& folder);

// Names a safe write uses for its work in progress (".NAME.XXXXXX").
bool LooksTemporary(const std::string& name);
// The entries of Tree(folder) that are work in progress left behind.
std::vector<std::string> Temporaries(const std::filesystem::path& folder);

// Lets "nobody" walk from the root of the temporary folder down to path
// (others may search each folder on the way, and read path itself).
void OpenForNobody(const std::filesystem::path& path);
// Takes write permission away from everyone but keeps the folder readable.
void MakeReadOnlyFolder(const std::filesystem::path& folder);

// Runs body in a forked child as "nobody" (or with a file size limit) and
// returns its exit code; -1 when the child died.
int AsNobody(const std::function<int()>& body);

// A named pipe at path. Whatever blocks on it (an open or a read that waits
// for a writer) is let go after a few seconds, so a program that would hang
// fails its test instead; hung() tells whether that was needed.
class PipeWithWatchdog {
 public:
  explicit PipeWithWatchdog(const std::filesystem::path& path, int seconds = 10);
  ~PipeWithWatchdog();
  PipeWithWatchdog(const PipeWithWatchdog&) = delete;
  PipeWithWatchdog& operator=(const PipeWithWatchdog&) = delete;
  bool hung() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

std::string Text(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> Bytes(const std::string& text);

}  // namespace kxc2::test
