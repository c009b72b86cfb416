#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kxc2 {

// The main window's menu bar, in order, for every shell and for the Keys and
// Mouse window. Captions carry "&" before the access key.
enum class MenuEntryKind { Menu, Item, Submenu, Separator };

struct MenuEntry {
  MenuEntryKind kind;
  const char* name;  // the component: File1, New1, N2...
  const char* caption = "";
  // "Ctrl+N", "Ctrl++", "F9": the toolkits' portable key text.
  std::array<const char*, 2> keys{};
  bool checkable = false;
  bool enabled = true;  // before a map is open
};

std::span<const MenuEntry> MainMenuEntries();

// The window's caption; a shell appends "*" while the map is unsaved.
inline constexpr const char* kMainWindowCaption = "Korvex Command 2 Mapmaker";
// The title of notices and error boxes.
inline constexpr const char* kApplicationTitle = "KxC2Map";

// One row of the Keys and Mouse window.
struct KeyRow {
  std::string keys;
  std::string does;
};

// "Ctrl+N" / "File > New" for every item with keys, several keys joined by ", ".
std::vector<KeyRow> MenuKeyRows();
// The map view's mouse gestures and keys; the Artwork Preview's besides zoom.
std::vector<KeyRow> MapViewKeyRows();
std::vector<KeyRow> PreviewKeyRows();
KeyRow EscapeKeyRow();

// A caption as shown, without its access-key marker ("&&" shows one "&").
std::string WithoutAccessKey(std::string_view caption);

}  // namespace kxc2
