#include "launcher/launcher_steps.h"

#include <optional>
#include <string>

namespace kxc2 {
namespace {

constexpr int kSuccessExitCode = 0;

// Every path that has not lost the console ends here.
int Close(LauncherPlatform& platform) {
  if (!platform.WriteLine(kClosingLine)) return kConsoleFailureExitCode;
  platform.Sleep(kClosingPauseMilliseconds);
  return kSuccessExitCode;
}

int CloseWithError(LauncherPlatform& platform, std::string_view error) {
  if (!platform.WriteLine(error)) return kConsoleFailureExitCode;
  return Close(platform);
}

// The state is read before the sleep and tested after it, so the end is seen
// between one and two poll periods late, never sooner than one.
void WaitForGame(LauncherPlatform& platform) {
  bool running = true;
  while (running) {
    running = platform.GameRunning();
    platform.Sleep(kPollMilliseconds);
  }
}

// Runs while MAP is in place. False when the console failed; a started game
// is waited for even then, since the folder must not go back under it.
bool LaunchAndWait(LauncherPlatform& platform) {
  if (!platform.StartGame()) return platform.WriteLine(kLaunchFailedLine);
  const bool console_ok = platform.WriteLine(kStartingLine);
  WaitForGame(platform);
  platform.CloseGame();
  return console_ok && platform.WriteLine(kShutdownLine);
}

}  // namespace

int RunLauncher(LauncherPlatform& platform) {
  if (!platform.WriteLine(kWelcomeLine) || !platform.WriteLine("")) return kConsoleFailureExitCode;
  const std::string folder = platform.CurrentFolder();
  if (!platform.WriteLine(std::string(kCurrentFolderLine) + folder)) return kConsoleFailureExitCode;

  // Both tests come before either answer is used.
  const bool map_exists = platform.FindEntry(folder, "MAP").has_value();
  const std::optional<std::string> user_map = platform.FindEntry(folder, "USERMAP");
  if (map_exists) return CloseWithError(platform, kMapExistsLine);
  if (!user_map) return CloseWithError(platform, kNoUserMapLine);
  if (!platform.Rename(*user_map, "MAP")) return CloseWithError(platform, kRenameFailedLine);

  // From here on the folder goes back to its own name whatever happens.
  bool console_ok = platform.WriteLine(kRenamedLine) && platform.WriteLine(kLaunchingLine);
  if (console_ok) console_ok = LaunchAndWait(platform);
  const bool renamed_back = platform.Rename("MAP", *user_map);
  if (!console_ok) return kConsoleFailureExitCode;
  if (!platform.WriteLine(renamed_back ? kRenamedBackLine : kRenameBackFailedLine))
    return kConsoleFailureExitCode;
  return Close(platform);
}

}  // namespace kxc2
