#include "editor/user_dialogs.h"

#include <gtest/gtest.h>

#include <utility>

namespace kxc2 {
namespace {

TEST(ErrorBoxTextTest, PeriodAddedAfterCharactersThatSortAfterIt) {
  const std::pair<QString, QString> cases[] = {
      {"File not found", "File not found."},
      {"Disk full.", "Disk full."},
      {"abc!", "abc!"},  // '!' sorts before '.'
      {"a/", "a/."},     // '/' sorts right after '.'
      {"", ""},
      {"I/O error 32", "I/O error 32."},
      {"Range -", "Range -"},
      {"List index out of bounds (17)", "List index out of bounds (17)"},
      {"Caf\u00e9", "Caf\u00e9."}};
  for (const auto& [message, text] : cases)
    EXPECT_EQ(ErrorBoxText(message), text) << message.toStdString();
}

}  // namespace
}  // namespace kxc2
