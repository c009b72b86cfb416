// The menu table both shells build their menus from, and the texts the
// Keys and Mouse window and the error boxes show.
#include "editing/menu_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "editing/shell.h"

namespace kxc2 {
namespace {

TEST(MenuTableTest, KeyRowsNameEveryShortcutWithItsMenu) {
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Ctrl+N", "File > New"},          {"Ctrl+O", "File > Open"},
      {"Ctrl+S", "File > Save .MAP"},    {"Ctrl+Q", "File > Exit"},
      {"Ctrl+Z", "Edit > Undo"},         {"Ctrl+Y, Ctrl+Shift+Z", "Edit > Redo"},
      {"Ctrl+F", "Edit > Fill Area"},    {"Ctrl++, Ctrl+=", "Edit > Zoom In"},
      {"Ctrl+-", "Edit > Zoom Out"},     {"F9", "View > Artwork Preview"},
  };
  std::vector<std::pair<std::string, std::string>> rows;
  for (const KeyRow& row : MenuKeyRows()) rows.emplace_back(row.keys, row.does);
  EXPECT_EQ(rows, expected);
}

TEST(MenuTableTest, NamesAreUniqueAndEveryMenuHasItems) {
  std::set<std::string> names;
  const auto entries = MainMenuEntries();
  ASSERT_EQ(entries.front().kind, MenuEntryKind::Menu);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_TRUE(names.insert(entries[i].name).second) << entries[i].name;
    if (entries[i].kind == MenuEntryKind::Menu)
      EXPECT_TRUE(i + 1 < entries.size() && entries[i + 1].kind != MenuEntryKind::Menu) << entries[i].name;
  }
}

TEST(MenuTableTest, AccessKeyMarkersGo) {
  const struct {
    const char* caption;
    const char* shown;
  } cases[] = {{"&File", "File"}, {"E&xit", "Exit"}, {"Zoom &In", "Zoom In"}, {"Fish && &Chips", "Fish & Chips"},
               {"Trailing&", "Trailing"}, {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(WithoutAccessKey(c.caption), c.shown) << c.caption;
}

TEST(MenuTableTest, ErrorBoxTextEndsWithAFullStopAfterALetter) {
  const struct {
    const char* message;
    const char* shown;
  } cases[] = {{"Cannot open", "Cannot open."}, {"Done.", "Done."}, {"Why?", "Why?."}, {"(x)", "(x)"},
               {"a-", "a-"}, {"", ""}, {"9", "9."}, {"Caf\u00e9", "Caf\u00e9."}};
  for (const auto& c : cases) EXPECT_EQ(ErrorBoxText(c.message), c.shown) << c.message;
}

}  // namespace
}  // namespace kxc2
