#pragma once

#include <string>
#include <vector>

namespace kxc2::test {

struct ToolResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs kxc2tool with args; stdin is /dev/null unless input is given.
ToolResult RunTool(const std::vector<std::string>& args, const std::string& input = {});

}  // namespace kxc2::test
