#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "launcher/launcher_platform.h"

namespace kxc2 {

class Win32Platform : public LauncherPlatform {
 public:
  Win32Platform() = default;
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  bool WriteLine(std::string_view text) override;
  std::string CurrentFolder() override;
  std::optional<std::string> FindEntry(const std::string& folder, std::string_view name) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool StartGame() override;
  bool GameRunning() override;
  void CloseGame() override;
  void Sleep(std::uint32_t milliseconds) override;

 private:
  HANDLE game_ = nullptr;
};

}  // namespace kxc2
