#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "launcher/launcher_platform.h"

namespace kxc2::test {

// A platform driven by a script, with a fake clock that only Sleep advances.
// It records every call so tests can check order, arguments and timing.
class ScriptedPlatform : public LauncherPlatform {
 public:
  // The script.
  std::string folder = "C:\\Games\\KC2";
  std::map<std::string, std::string> entries;  // name asked for -> name found
  std::set<std::pair<std::string, std::string>> failing_renames;
  bool start_succeeds = true;
  std::uint32_t game_runs_for = 1000;  // milliseconds after the start
  int failing_write = -1;              // index of the write that fails

  // The record.
  struct Line {
    std::uint32_t at;
    std::string text;
  };
  std::vector<Line> lines;  // written successfully
  std::vector<std::string> calls;
  std::vector<std::uint32_t> sleeps;
  std::vector<std::pair<std::string, std::string>> renames;
  std::uint32_t now = 0;
  int polls = 0;
  bool started = false;
  bool closed = false;

  bool WriteLine(std::string_view text) override;
  std::string CurrentFolder() override;
  std::optional<std::string> FindEntry(const std::string& folder, std::string_view name) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool StartGame() override;
  bool GameRunning() override;
  void CloseGame() override;
  void Sleep(std::uint32_t milliseconds) override;

  std::vector<std::string> Texts() const;

 private:
  int writes_ = 0;
  std::uint32_t started_at_ = 0;
};

}  // namespace kxc2::test
