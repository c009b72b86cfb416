#include "launcher/exit_code_poll.h"

#include <gtest/gtest.h>

namespace kxc2 {
namespace {

struct PollCase {
  std::optional<std::uint32_t> exit_code;
  bool has_ended;
  bool running;
  bool asks_process;
};

class ExitCodePoll : public ::testing::TestWithParam<PollCase> {};

TEST_P(ExitCodePoll, TrustsOnlyTheProcessStateFor259) {
  const PollCase& c = GetParam();
  int asked = 0;
  EXPECT_EQ(StillRunning(c.exit_code,
                         [&] {
                           ++asked;
                           return c.has_ended;
                         }),
            c.running);
  EXPECT_EQ(asked, c.asks_process ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    All, ExitCodePoll,
    ::testing::Values(PollCase{259u, false, true, true},         // still running
                      PollCase{259u, true, false, true},         // ended with 259 itself
                      PollCase{0u, false, false, false},         // ended normally
                      PollCase{258u, false, false, false},       // a code beside 259
                      PollCase{260u, false, false, false},
                      PollCase{0xFFFFFFFFu, false, false, false},
                      PollCase{std::nullopt, false, true, true},   // code unreadable
                      PollCase{std::nullopt, true, false, true}));

}  // namespace
}  // namespace kxc2
