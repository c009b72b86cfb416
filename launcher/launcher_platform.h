#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kxc2 {

// What the launcher's steps need from the operating system. The steps are
// written once against this; each system supplies one implementation, and
// the tests supply a scripted one with a fake clock.
class LauncherPlatform {
 public:
  virtual ~LauncherPlatform() = default;

  // Writes text followed by CR LF. False when the console refused it.
  virtual bool WriteLine(std::string_view text) = 0;
  // The process's current folder; empty when it cannot be read.
  virtual std::string CurrentFolder() = 0;
  // Looks in folder for a visible folder or ordinary file called name.
  // Returns the name under which that entry can be renamed, or nothing.
  virtual std::optional<std::string> FindEntry(const std::string& folder,
                                               std::string_view name) = 0;
  // Renames an entry of the current folder. Never replaces an existing entry.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  // Starts the game detached. On success the game is held until CloseGame.
  virtual bool StartGame() = 0;
  // One poll of the held game: true while it has not ended.
  virtual bool GameRunning() = 0;
  // Lets go of the held game.
  virtual void CloseGame() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace kxc2
