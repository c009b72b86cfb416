#include "tests/support/child_process.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kxc2::test {

int RunInChild(const std::function<int()>& body, bool dropRoot) {
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (dropRoot && ::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(126);
    int result = 127;
    try {
      result = body();
    } catch (...) {
      result = 125;
    }
    ::_exit(result);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

int RunWithFileSizeLimit(long limitBytes, const std::function<int()>& body) {
  return RunInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(limitBytes), static_cast<rlim_t>(limitBytes)};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    return body();
  });
}

bool IsRoot() { return ::geteuid() == 0; }

}  // namespace kxc2::test
