#include "tests/launcher/scripted_platform.h"

#include <stdexcept>

namespace kxc2::test {

namespace {
// A launcher that polls for longer than this is stuck.
constexpr std::uint32_t kRunaway = 3600 * 1000;
}  // namespace

bool ScriptedPlatform::WriteLine(std::string_view text) {
  const bool fails = writes_++ == failing_write;
  calls.push_back((fails ? "failed write " : "write ") + std::string(text));
  if (fails) return false;
  lines.push_back({now, std::string(text)});
  return true;
}

std::string ScriptedPlatform::CurrentFolder() {
  calls.push_back("current folder");
  return folder;
}

std::optional<std::string> ScriptedPlatform::FindEntry(const std::string& in,
                                                       std::string_view name) {
  calls.push_back("find " + in + " " + std::string(name));
  const auto it = entries.find(std::string(name));
  if (it == entries.end()) return std::nullopt;
  return it->second;
}

bool ScriptedPlatform::Rename(const std::string& from, const std::string& to) {
  calls.push_back("rename " + from + " " + to);
  renames.emplace_back(from, to);
  return failing_renames.count({from, to}) == 0;
}

bool ScriptedPlatform::StartGame() {
  calls.push_back("start");
  if (!start_succeeds) return false;
  if (started) throw std::logic_error("game started twice");
  started = true;
  started_at_ = now;
  return true;
}

bool ScriptedPlatform::GameRunning() {
  if (!started || closed) throw std::logic_error("poll without a game");
  ++polls;
  const bool running = now - started_at_ < game_runs_for;
  calls.push_back(running ? "poll running" : "poll ended");
  return running;
}

void ScriptedPlatform::CloseGame() {
  if (!started || closed) throw std::logic_error("close without a game");
  calls.push_back("close");
  closed = true;
}

void ScriptedPlatform::Sleep(std::uint32_t milliseconds) {
  calls.push_back("sleep " + std::to_string(milliseconds));
  sleeps.push_back(milliseconds);
  now += milliseconds;
  if (now > kRunaway) throw std::runtime_error("launcher never stopped waiting");
}

std::vector<std::string> ScriptedPlatform::Texts() const {
  std::vector<std::string> texts;
  for (const Line& line : lines) texts.push_back(line.text);
  return texts;
}

}  // namespace kxc2::test
