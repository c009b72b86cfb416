#include "tests/hardening/fault_support.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include "tests/support/child_process.h"

namespace kxc2::test {

namespace fs = std::filesystem;

ChildReport::ChildReport() {
  void* memory = ::mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) throw std::runtime_error("mmap failed");
  text_ = static_cast<char*>(memory);
  text_[0] = '\0';
}

ChildReport::~ChildReport() { ::munmap(text_, kSize); }

void ChildReport::put(const std::map<std::string, std::string>& values, const std::string& prefix) {
  std::string text = text_;
  for (const auto& [key, value] : values) {
    std::string flat = value;
    std::replace(flat.begin(), flat.end(), '\n', '|');
    text += prefix + key + '\t' + flat + '\n';
  }
  if (text.size() >= kSize) text.resize(kSize - 1);
  std::memcpy(text_, text.c_str(), text.size() + 1);
}

std::map<std::string, std::string> ChildReport::values() const {
  std::map<std::string, std::string> values;
  std::istringstream lines{std::string(text_)};
  std::string line;
  while (std::getline(lines, line)) {
    const auto tab = line.find('\t');
    if (tab != std::string::npos) values[line.substr(0, tab)] = line.substr(tab + 1);
  }
  return values;
}

std::vector<std::string> Tree(const fs::path& folder) {
  std::vector<std::string> entries;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, error);
       it != fs::recursive_directory_iterator(); it.increment(error)) {
    std::string name = it->path().lexically_relative(folder).string();
    if (it->is_symlink(error))
      name += "@";
    else if (it->is_directory(error))
      name += "/";
    entries.push_back(name);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

bool LooksTemporary(const std::string& name) {
  const std::string leaf = fs::path(name).filename().string();
  return leaf.size() > 8 && leaf[0] == '.' && leaf[leaf.size() - 7] == '.';
}

std::vector<std::string> Temporaries(const fs::path& folder) {
  std::vector<std::string> found;
  for (const std::string& entry : Tree(folder))
    if (LooksTemporary(entry)) found.push_back(entry);
  return found;
}

void OpenForNobody(const fs::path& path) {
  const fs::path root = fs::temp_directory_path();
  for (fs::path at = path; !at.empty() && at != root && at != at.root_path(); at = at.parent_path()) {
    const auto perms = fs::is_directory(at) ? fs::perms::others_exec | fs::perms::others_read : fs::perms::others_read;
    fs::permissions(at, perms, fs::perm_options::add);
  }
}

void MakeReadOnlyFolder(const fs::path& folder) {
  fs::permissions(folder,
                  fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec |
                      fs::perms::others_read | fs::perms::others_exec,
                  fs::perm_options::replace);
}

int AsNobody(const std::function<int()>& body) { return RunInChild(body, /*dropRoot=*/true); }

struct PipeWithWatchdog::State {
  std::filesystem::path path;
  std::mutex mutex;
  std::condition_variable done;
  bool stopping = false;
  std::atomic<bool> hung{false};
  std::thread watchdog;
};

PipeWithWatchdog::PipeWithWatchdog(const std::filesystem::path& path, int seconds) : state_(new State) {
  state_->path = path;
  if (::mkfifo(path.c_str(), 0666) != 0) throw std::runtime_error("mkfifo failed");
  State* state = state_.get();
  state->watchdog = std::thread([state, seconds] {
    std::unique_lock lock(state->mutex);
    if (state->done.wait_for(lock, std::chrono::seconds(seconds), [state] { return state->stopping; })) return;
    // Time is up: be the writer the reader waits for, then leave it at end of file.
    while (!state->stopping) {
      const int fd = ::open(state->path.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        state->hung = true;
        ::close(fd);
      }
      state->done.wait_for(lock, std::chrono::milliseconds(50), [state] { return state->stopping; });
    }
  });
}

PipeWithWatchdog::~PipeWithWatchdog() {
  {
    std::lock_guard lock(state_->mutex);
    state_->stopping = true;
  }
  state_->done.notify_all();
  state_->watchdog.join();
}

bool PipeWithWatchdog::hung() const { return state_->hung; }

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }
std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace kxc2::test
