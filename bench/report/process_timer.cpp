// Times whole processes taking turns (A, B, C, A, B, C, ...), so a change of
// load on the machine falls on all of them alike, which hyperfine, timing
// one command's runs after another's, cannot. Each turn's wall time runs from
// the spawn to the child's end; its CPU time is the child's user + system
// time as wait4 reports it. Writes the times as hyperfine's JSON export does.
//
// Usage: process_timer WARMUPS RUNS OUT.json NAME COMMAND [NAME COMMAND]...
// COMMAND is split at spaces, without quoting (as hyperfine -N does); its
// output goes to /dev/null, and a failing command ends the timing.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/report/process_results.h"

extern char** environ;

namespace {

using kxc2::bench::Median;
using kxc2::bench::ProcessTimes;

struct Turn {
  double wallSeconds;
  double cpuSeconds;
};

std::vector<std::string> Words(const std::string& command) {
  std::istringstream in(command);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; }

std::optional<Turn> RunOnce(const std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return std::nullopt;
  int status = 0;
  rusage usage{};
  if (::wait4(child, &status, 0, &usage) != child) return std::nullopt;
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return Turn{wall, Seconds(usage.ru_utime) + Seconds(usage.ru_stime)};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6 || (argc - 4) % 2 != 0) {
    std::fputs("Usage: process_timer WARMUPS RUNS OUT.json NAME COMMAND [NAME COMMAND]...\n", stderr);
    return 2;
  }
  const int warmups = std::atoi(argv[1]);
  const int runs = std::atoi(argv[2]);
  if (warmups < 0 || runs < 1) {
    std::fputs("process_timer: WARMUPS must be at least 0 and RUNS at least 1\n", stderr);
    return 2;
  }
  std::vector<ProcessTimes> programs;
  std::vector<std::vector<std::string>> commands;
  for (int i = 4; i < argc; i += 2) {
    programs.push_back({argv[i], {}, {}});
    commands.push_back(Words(argv[i + 1]));
  }
  for (int run = 0; run < warmups + runs; ++run)
    for (std::size_t p = 0; p < programs.size(); ++p) {
      const auto turn = RunOnce(commands[p]);
      if (!turn) {
        std::fprintf(stderr, "process_timer: \"%s\" failed: %s\n", programs[p].name.c_str(), argv[5 + 2 * p]);
        return 1;
      }
      if (run < warmups) continue;
      programs[p].wallSeconds.push_back(turn->wallSeconds);
      programs[p].cpuSeconds.push_back(turn->cpuSeconds);
    }
  for (const ProcessTimes& p : programs)
    std::printf("%-36s median %8.2f ms wall, %8.2f ms CPU (%d runs)\n", p.name.c_str(), Median(p.wallSeconds) * 1e3,
                Median(p.cpuSeconds) * 1e3, runs);
  if (!kxc2::bench::WriteProcessJson(argv[3], programs)) {
    std::fprintf(stderr, "process_timer: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
