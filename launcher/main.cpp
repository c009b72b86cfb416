// KxC2Run: starts the game with the user's maps in place as MAP.
#include "launcher/launcher_steps.h"

#ifdef _WIN32
#include "launcher/win32_platform.h"
#else
#include <csignal>
#include <cstdlib>

#include "launcher/posix_platform.h"
#endif

int main(int /*argc*/, char** argv) {
#ifdef _WIN32
  (void)argv;
  kxc2::Win32Platform platform;
#else
  // A closed console must show up as a failed write, not end the launcher
  // while the user's maps are still called MAP.
  std::signal(SIGPIPE, SIG_IGN);
  const char* path = std::getenv("PATH");
  kxc2::PosixPlatform platform({kxc2::OwnFolder(argv[0]), path ? path : ""});
#endif
  return kxc2::RunLauncher(platform);
}
