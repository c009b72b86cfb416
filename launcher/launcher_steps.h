#pragma once

#include <cstdint>
#include <string_view>

#include "launcher/launcher_platform.h"

namespace kxc2 {

inline constexpr std::string_view kWelcomeLine = "Welcome to KxC2Run";
inline constexpr std::string_view kCurrentFolderLine = "Current directory is ";
inline constexpr std::string_view kMapExistsLine = "Error, found an existing MAP directory";
inline constexpr std::string_view kNoUserMapLine = "Error, did not find USERMAP";
inline constexpr std::string_view kRenameFailedLine = "Error, could not rename USERMAP";
inline constexpr std::string_view kRenamedLine = "Renamed USERMAP to MAP";
inline constexpr std::string_view kLaunchingLine = "Attempting to launch KxC2";
inline constexpr std::string_view kLaunchFailedLine = "Error, KxC2 failed to launch";
inline constexpr std::string_view kStartingLine = "KxC2 is starting...";
inline constexpr std::string_view kShutdownLine = "Detected KxC2 shutdown";
inline constexpr std::string_view kRenamedBackLine = "Renamed MAP to USERMAP";
inline constexpr std::string_view kRenameBackFailedLine = "Error, could not rename MAP to USERMAP";
inline constexpr std::string_view kClosingLine = "This window will self-destruct in 3 seconds.";

inline constexpr std::uint32_t kPollMilliseconds = 2000;
inline constexpr std::uint32_t kClosingPauseMilliseconds = 3000;

// Exit code when the console could not be written to.
inline constexpr int kConsoleFailureExitCode = 1;

// The whole launcher: swaps USERMAP for MAP, runs the game, swaps back.
// Returns the process exit code.
int RunLauncher(LauncherPlatform& platform);

}  // namespace kxc2
