#include "tests/support/run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace kxc2::test {
namespace {

std::vector<char*> Pointers(const std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (const std::string& text : texts) pointers.push_back(const_cast<char*>(text.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

ProgramRun RunProgram(const ProgramStart& start) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (start.output_file.empty()) {
    posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, start.output_file.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // Kept apart from the bytes under test, and out of the test log.
    const std::string errors = start.output_file + ".err";
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  }
  posix_spawn_file_actions_addchdir_np(&actions, start.folder.c_str());
  auto argv = Pointers(start.arguments);
  auto envp = Pointers(start.environment);

  const auto began = std::chrono::steady_clock::now();
  pid_t pid = -1;
  const int error =
      posix_spawn(&pid, start.arguments.at(0).c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::runtime_error("cannot start " + start.arguments.at(0));

  ProgramRun run;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() - began > start.timeout) {
      run.timed_out = true;
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  run.elapsed = std::chrono::steady_clock::now() - began;
  if (!run.timed_out && WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
  if (!start.output_file.empty()) run.output = ReadFile(start.output_file);
  return run;
}

}  // namespace kxc2::test
