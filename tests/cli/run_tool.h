#pragma once

#include <string>
#include <vector>

namespace kxc2::test {

struct ToolResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs kxc2tool with args and input on stdin; stdout goes to outPath when
// given (e.g. "/dev/full"), else it is captured.
ToolResult RunTool(const std::vector<std::string>& args, const std::string& input = {},
                   const std::string& outPath = {});

}  // namespace kxc2::test
