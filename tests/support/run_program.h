#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace kxc2::test {

struct ProgramRun {
  int exit_code = -1;  // -1 when it did not exit normally
  bool timed_out = false;
  std::string output;  // standard output, byte for byte
  std::chrono::duration<double> elapsed{};
};

struct ProgramStart {
  std::vector<std::string> arguments;  // arguments[0] is the program's path
  std::string folder;                  // its current folder
  std::vector<std::string> environment;
  // Standard output goes here, standard error beside it with ".err" added;
  // empty: standard output closed.
  std::string output_file;
  std::chrono::seconds timeout{60};
};

// Runs a program to its end (killed after the timeout) and collects its output.
ProgramRun RunProgram(const ProgramStart& start);

}  // namespace kxc2::test
