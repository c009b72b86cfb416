#include "tests/cli/run_tool.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

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

}  // namespace kxc2::test
