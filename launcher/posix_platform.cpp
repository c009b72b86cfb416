#include "launcher/posix_platform.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <vector>

#include "launcher/posix_names.h"

extern char** environ;

namespace kxc2 {
namespace {

constexpr char kGameName[] = "korvex2.exe";

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool StartsWithMz(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char head[2] = {};
  const ssize_t got = read(fd, head, sizeof head);
  close(fd);
  return got == 2 && head[0] == 'M' && head[1] == 'Z';
}

// A plain rename() would silently replace an existing file or empty folder,
// where the game's system refuses.
bool RenameWithoutReplacing(const char* from, const char* to) {
#if defined(__linux__) && defined(RENAME_NOREPLACE)
  if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
#endif
  struct stat existing {};
  if (lstat(to, &existing) == 0 || errno != ENOENT) return false;
  return rename(from, to) == 0;
}

// Program and arguments that start the game file found at path.
struct GameCommand {
  std::string program;
  std::vector<std::string> arguments;
};

GameCommand CommandFor(const std::string& game_path, std::string_view path_variable) {
  if (StartsWithMz(game_path)) {
    if (const auto wine = FindProgramOnPath(path_variable, "wine"))
      return {*wine, {"wine", game_path}};
  }
  return {game_path, {kGameName}};
}

// Own session and standard streams on /dev/null, so the game outlives a
// closed console; the SIGPIPE the launcher ignores is given back.
bool SpawnDetached(const GameCommand& command, pid_t& pid) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  if (posix_spawn_file_actions_init(&actions) != 0) return false;
  if (posix_spawnattr_init(&attributes) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return false;
  }
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  short flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
#ifdef POSIX_SPAWN_SETSID
  flags |= POSIX_SPAWN_SETSID;
#else
  flags |= POSIX_SPAWN_SETPGROUP;
#endif
  sigset_t defaults;
  sigset_t mask;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigemptyset(&mask);
  posix_spawnattr_setflags(&attributes, flags);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &mask);

  std::vector<char*> argv;
  for (const std::string& argument : command.arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const int error =
      posix_spawn(&pid, command.program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return error == 0;
}

}  // namespace

bool PosixPlatform::WriteLine(std::string_view text) {
  std::string line(text);
  line += "\r\n";
  return WriteAll(STDOUT_FILENO, line);
}

std::string PosixPlatform::CurrentFolder() {
  std::vector<char> buffer(256);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

std::optional<std::string> PosixPlatform::FindEntry(const std::string& folder,
                                                    std::string_view name) {
  return FindVisibleEntry(folder, name);
}

bool PosixPlatform::Rename(const std::string& from, const std::string& to) {
  return RenameWithoutReplacing(from.c_str(), to.c_str());
}

bool PosixPlatform::StartGame() {
  const std::string current = CurrentFolder();
  std::vector<std::string> folders;
  if (!search_.own_folder.empty()) folders.push_back(search_.own_folder);
  folders.push_back(current.empty() ? "." : current);
  for (std::string& folder : SplitSearchPath(search_.path_variable))
    folders.push_back(std::move(folder));

  const auto game_path = SearchFile(folders, kGameName);
  if (!game_path) return false;
  return SpawnDetached(CommandFor(*game_path, search_.path_variable), game_);
}

bool PosixPlatform::GameRunning() {
  if (game_ < 0) return false;
  int status = 0;
  pid_t result = 0;
  do {
    result = waitpid(game_, &status, WNOHANG);
  } while (result < 0 && errno == EINTR);
  if (result == 0) return true;
  // Reaped, or no longer ours to wait for: either way it will not end later.
  game_ = -1;
  return false;
}

void PosixPlatform::CloseGame() { game_ = -1; }

void PosixPlatform::Sleep(std::uint32_t milliseconds) {
  timespec remaining{static_cast<time_t>(milliseconds / 1000),
                     static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

std::string OwnFolder(const char* argv0) {
  std::string path;
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) break;
    if (static_cast<std::size_t>(length) < buffer.size()) {
      path.assign(buffer.data(), static_cast<std::size_t>(length));
      break;
    }
    buffer.resize(buffer.size() * 2);
  }
  if (path.empty() && argv0) path = argv0;
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace kxc2
