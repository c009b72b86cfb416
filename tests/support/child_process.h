#pragma once

#include <functional>

namespace kxc2::test {

// Runs body in a forked child and returns its result (or -1 when the child
// died). With dropRoot, a root child first becomes "nobody", so permission
// tests mean the same under root as for a user; the caller must make the
// folders involved reachable for that user.
int RunInChild(const std::function<int()>& body, bool dropRoot = false);

// Runs body in a child whose files may not grow beyond limitBytes, as on a
// disk that fills part way (SIGXFSZ ignored, so writes fail with EFBIG).
int RunWithFileSizeLimit(long limitBytes, const std::function<int()>& body);

// True when the process runs as root.
bool IsRoot();

}  // namespace kxc2::test
