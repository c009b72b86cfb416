#pragma once

#include <string>
#include <vector>

namespace kxc2::test {

class TempDir;

struct ToolResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs kxc2tool with args and input on stdin; stdout goes to outPath when
// given (e.g. "/dev/full"), else it is captured.
ToolResult RunTool(const std::vector<std::string>& args, const std::string& input = {},
                   const std::string& outPath = {});

// Runs kxc2tool as from a terminal on which typed is typed, with its output
// in dir's stdout.txt and stderr.txt. Without typed there is no terminal:
// stdin is /dev/null.
ToolResult RunToolTyped(const TempDir& dir, const std::vector<std::string>& args, const char* typed = nullptr);

}  // namespace kxc2::test
