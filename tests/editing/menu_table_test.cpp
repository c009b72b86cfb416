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

// The menu bar both shells show before a map is open, in order.
TEST(MenuTableTest, TheMenuBarInOrderWithItsStartStates) {
  using enum MenuEntryKind;
  const struct {
    MenuEntryKind kind;
    const char* name;
    const char* caption;
    std::string keys;
    bool checkable, enabled;
  } expected[] = {
      {Menu, "File1", "&File", "", false, true},         {Item, "New1", "&New", "Ctrl+N", false, true},
      {Item, "Open1", "&Open", "Ctrl+O", false, true},   {Submenu, "RecentMaps1", "&Recent Maps", "", false, false},
      {Separator, "N2", "", "", false, true},            {Item, "SaveAs1", "&Save .MAP", "Ctrl+S", false, false},
      {Item, "PaintBMPs1", "&Paint .BMPs", "", false, false}, {Item, "WriteSHPs1", "&Draw .SHPs", "", false, true},
      {Separator, "N1", "", "", false, true},            {Item, "Exit1", "E&xit", "Ctrl+Q", false, true},
      {Menu, "Edit1", "&Edit", "", false, true},         {Item, "Undo1", "&Undo", "Ctrl+Z", false, false},
      {Item, "Redo1", "&Redo", "Ctrl+Y Ctrl+Shift+Z", false, false},
      {Item, "FillArea1", "&Fill Area", "Ctrl+F", false, false}, {Separator, "N3", "", "", false, true},
      {Item, "ZoomIn1", "Zoom &In", "Ctrl++ Ctrl+=", true, true}, {Item, "ZoomOut1", "Zoom &Out", "Ctrl+-", true, true},
      {Menu, "View1", "&View", "", false, true},         {Item, "ArtworkPreview1", "&Artwork Preview", "F9", false, false},
      {Item, "MapBounds1", "&Map Bounds", "", true, true}, {Menu, "Help1", "&Help", "", false, true},
      {Item, "KeysAndMouse1", "&Keys and Mouse", "", false, true}, {Item, "About1", "&About", "", false, true},
  };
  const auto entries = MainMenuEntries();
  ASSERT_EQ(entries.size(), std::size(expected));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const MenuEntry& entry = entries[i];
    std::string keys;
    for (const char* key : entry.keys)
      if (key != nullptr) keys += (keys.empty() ? "" : " ") + std::string(key);
    EXPECT_EQ(entry.kind, expected[i].kind) << i;
    EXPECT_STREQ(entry.name, expected[i].name) << i;
    EXPECT_STREQ(entry.caption, expected[i].caption) << i;
    EXPECT_EQ(keys, expected[i].keys) << entry.name;
    EXPECT_EQ(entry.checkable, expected[i].checkable) << entry.name;
    EXPECT_EQ(entry.enabled, expected[i].enabled) << entry.name;
  }
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
