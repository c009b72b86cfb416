// kxc2tool: the kit's export code without a window.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "core/os_files.h"
#include "export/memory_reuse.h"

namespace {

constexpr const char* kUsage =
    "Usage: kxc2tool COMMAND [ARGS...]\n"
    "\n"
    "Commands:\n"
    "  info FILE.map                         map number, size, terrain counts, roads\n"
    "  paint FILE.map --game-folder DIR [--map-number N] [--columns C] [--rows R]\n"
    "        [--winter] [--tiles FILE.bmp] [--seed S] [--yes]\n"
    "                                        paint the map's .bmp pieces into DIR/UserBMP\n"
    "  preview FILE.map OUT.png [--columns C] [--rows R] [--winter] [--tiles FILE.bmp]\n"
    "        [--seed S]                      paint the whole map picture into one PNG\n"
    "  shp FILE.bmp... --game-folder DIR [--yes]\n"
    "                                        convert bitmaps into .shp files in DIR/UserMap\n"
    "  unshp FILE.shp OUT.bmp                decode a .shp file into an 8-bit bitmap\n"
    "\n"
    "Options:\n"
    "  --help       show this help and exit\n"
    "  --version    show the version and exit\n";

using Command = int (*)(const std::vector<std::string>&);

struct NamedCommand {
  std::string_view name;
  Command run;
  const char* usage;
};

constexpr NamedCommand kCommands[] = {
    {"info", kxc2::cli::RunInfo, "info FILE.map"},
    {"paint", kxc2::cli::RunPaint,
     "paint FILE.map --game-folder DIR [--map-number N] [--columns C] [--rows R]\n"
     "       [--winter] [--tiles FILE.bmp] [--seed S] [--yes]"},
    {"preview", kxc2::cli::RunPreview,
     "preview FILE.map OUT.png [--columns C] [--rows R] [--winter] [--tiles FILE.bmp] [--seed S]"},
    {"shp", kxc2::cli::RunShp, "shp FILE.bmp... --game-folder DIR [--yes]"},
    {"unshp", kxc2::cli::RunUnshp, "unshp FILE.shp OUT.bmp"},
};

// "--help" anywhere before a "--" asks for the command's usage.
bool AsksForHelp(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

// Output that could not be written is a failure, not a success.
int FinishOutput(int exitCode) {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "kxc2tool: write error: %s\n", std::strerror(errno));
    return kxc2::cli::kExitFailure;
  }
  return exitCode;
}

int UsageFailure(const std::string& message) {
  std::fprintf(stderr, "kxc2tool: %s\nTry 'kxc2tool --help' for more information.\n", message.c_str());
  return kxc2::cli::kExitUsage;
}

}  // namespace

static int RunTool(const std::vector<std::string>& args) {
  if (args.empty()) return UsageFailure("missing command");
  if (args[0] == "--help" || args[0] == "-h") {
    std::fputs(kUsage, stdout);
    return FinishOutput(kxc2::cli::kExitOk);
  }
  if (args[0] == "--version") {
    std::puts("kxc2tool " KXC2_VERSION);
    return FinishOutput(kxc2::cli::kExitOk);
  }
  for (const NamedCommand& command : kCommands) {
    if (args[0] != command.name) continue;
    const std::vector<std::string> commandArgs(args.begin() + 1, args.end());
    if (AsksForHelp(commandArgs)) {
      std::printf("Usage: kxc2tool %s\n", command.usage);
      return FinishOutput(kxc2::cli::kExitOk);
    }
    try {
      return FinishOutput(command.run(commandArgs));
    } catch (const kxc2::cli::UsageError& error) {
      return UsageFailure(error.message);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "kxc2tool: %s\n", error.what());
      return kxc2::cli::kExitFailure;
    }
  }
  return UsageFailure("unknown command '" + args[0] + "'");
}

#ifdef _WIN32
// The command prompt leaves wildcards to the program: the C runtime expands them.
extern "C" {
int _dowildcard = -1;
}

// Arguments arrive in the wide-character API, so names in any language
// survive; inside, they are UTF-8.
int wmain(int argc, wchar_t** argv) {
  kxc2::UseUtf8Console();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(kxc2::Utf8FromWide(argv[i]));
  return RunTool(args);
}
#else
int main(int argc, char** argv) {
  kxc2::KeepFreedMemoryForReuse();
  return RunTool(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
