#pragma once

#include <sys/types.h>

#include <string>

#include "launcher/launcher_platform.h"

namespace kxc2 {

// Where the game is looked for, in the order a Windows command line's first
// word is: the launcher's own folder, the current folder, then PATH.
struct GameSearch {
  std::string own_folder;
  std::string path_variable;
};

class PosixPlatform : public LauncherPlatform {
 public:
  explicit PosixPlatform(GameSearch search) : search_(std::move(search)) {}
  ~PosixPlatform() override = default;
  PosixPlatform(const PosixPlatform&) = delete;
  PosixPlatform& operator=(const PosixPlatform&) = delete;

  bool WriteLine(std::string_view text) override;
  std::string CurrentFolder() override;
  std::optional<std::string> FindEntry(const std::string& folder, std::string_view name) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool StartGame() override;
  bool GameRunning() override;
  void CloseGame() override;
  void Sleep(std::uint32_t milliseconds) override;

 private:
  GameSearch search_;
  pid_t game_ = -1;
};

// The folder holding the running executable; argv0 is the fallback where the
// system cannot say.
std::string OwnFolder(const char* argv0);

}  // namespace kxc2
