#include "tests/cli/run_tool.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/temp_dir.h"

namespace kxc2::test {
namespace {

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

ToolResult RunTool(const std::vector<std::string>& args, const std::string& input, const std::string& outPath) {
  TempDir dir;
  std::ofstream(dir.file("in")) << input;
  std::string command = Quote(KXC2TOOL_PATH);
  for (const auto& arg : args) command += " " + Quote(arg);
  command += " <" + Quote(dir.file("in")) + " >" + Quote(outPath.empty() ? dir.file("out") : outPath) + " 2>" +
             Quote(dir.file("err"));
  const int status = std::system(command.c_str());
  ToolResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = Slurp(dir.file("out"));
  result.err = Slurp(dir.file("err"));
  return result;
}

ToolResult RunToolTyped(const TempDir& dir, const std::vector<std::string>& args, const char* typed) {
  const std::string out = dir.file("stdout.txt");
  const std::string err = dir.file("stderr.txt");
  int master = -1;
  std::string terminalName;
  if (typed) {
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_GE(master, 0);
    EXPECT_EQ(::grantpt(master), 0);
    EXPECT_EQ(::unlockpt(master), 0);
    terminalName = ::ptsname(master);
  }
  const pid_t child = ::fork();
  if (child == 0) {
    const int in = typed ? (::setsid(), ::open(terminalName.c_str(), O_RDWR)) : ::open("/dev/null", O_RDONLY);
    ::dup2(in, 0);
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    std::vector<char*> argv{const_cast<char*>(KXC2TOOL_PATH)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(KXC2TOOL_PATH, argv.data());
    ::_exit(127);
  }
  if (typed) {
    EXPECT_EQ(::write(master, typed, std::strlen(typed)), static_cast<ssize_t>(std::strlen(typed)));
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (master >= 0) ::close(master);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
}

}  // namespace kxc2::test
