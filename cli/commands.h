#pragma once

#include <string>
#include <vector>

namespace kxc2::cli {

// Exit codes of kxc2tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// A usage error: printed with the usage hint, exit 2.
struct UsageError {
  std::string message;
};

// Each subcommand gets the arguments after its name. Failures throw
// (UsageError, or any std::exception for "kxc2tool: MESSAGE", exit 1).
int RunInfo(const std::vector<std::string>& args);
int RunPaint(const std::vector<std::string>& args);
int RunPreview(const std::vector<std::string>& args);
int RunShp(const std::vector<std::string>& args);
int RunUnshp(const std::vector<std::string>& args);

}  // namespace kxc2::cli
