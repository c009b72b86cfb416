#include "editing/menu_table.h"

namespace kxc2 {
namespace {

using enum MenuEntryKind;

// Zoom In takes Ctrl+= too: Ctrl++ without Shift on most keyboards. The
// Artwork Preview has F9, not a typed character: those are road keys first.
constexpr MenuEntry kMainMenu[] = {
    {Menu, "File1", "&File"},
    {Item, "New1", "&New", {"Ctrl+N"}},
    {Item, "Open1", "&Open", {"Ctrl+O"}},
    {Submenu, "RecentMaps1", "&Recent Maps", {}, false, false},
    {Separator, "N2"},
    {Item, "SaveAs1", "&Save .MAP", {"Ctrl+S"}, false, false},
    {Item, "PaintBMPs1", "&Paint .BMPs", {}, false, false},
    {Item, "WriteSHPs1", "&Draw .SHPs"},
    {Separator, "N1"},
    {Item, "Exit1", "E&xit", {"Ctrl+Q"}},
    {Menu, "Edit1", "&Edit"},
    {Item, "Undo1", "&Undo", {"Ctrl+Z"}, false, false},
    {Item, "Redo1", "&Redo", {"Ctrl+Y", "Ctrl+Shift+Z"}, false, false},
    {Item, "FillArea1", "&Fill Area", {"Ctrl+F"}, false, false},
    {Separator, "N3"},
    {Item, "ZoomIn1", "Zoom &In", {"Ctrl++", "Ctrl+="}, true},
    {Item, "ZoomOut1", "Zoom &Out", {"Ctrl+-"}, true},
    {Menu, "View1", "&View"},
    {Item, "ArtworkPreview1", "&Artwork Preview", {"F9"}, false, false},
    {Item, "MapBounds1", "&Map Bounds", {}, true},
    {Menu, "Help1", "&Help"},
    {Item, "KeysAndMouse1", "&Keys and Mouse"},
    {Item, "About1", "&About"},
};

}  // namespace

std::span<const MenuEntry> MainMenuEntries() { return kMainMenu; }

std::string WithoutAccessKey(std::string_view caption) {
  std::string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && ++i == caption.size()) break;
    shown += caption[i];
  }
  return shown;
}

std::vector<KeyRow> MenuKeyRows() {
  std::vector<KeyRow> rows;
  std::string menu;
  for (const MenuEntry& entry : kMainMenu) {
    if (entry.kind == Menu) menu = WithoutAccessKey(entry.caption);
    if (entry.kind != Item || entry.keys[0] == nullptr) continue;
    KeyRow row{entry.keys[0], menu + " > " + WithoutAccessKey(entry.caption)};
    if (entry.keys[1] != nullptr) row.keys.append(", ").append(entry.keys[1]);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<KeyRow> MapViewKeyRows() {
  return {
      {"Left click", "Paint the hex with the list's terrain (\"LMB sets terrain\" ticked); "
                     "painting Ocean clears its roads. Unticked: select the hex and pick up its terrain"},
      {"Left drag", "Paint every hex the pointer crosses, as one step to undo"},
      {"Shift + left click", "Fill the connected area of the clicked hex's terrain with the list's terrain"},
      {"Right click", "Select the hex and pick up its terrain and roads"},
      {"Middle click", "Select the hex"},
      {"W  E  R", "Road to the upper left, up, the upper right of the selected hex (on or off)"},
      {"S  D  F", "Road to the lower left, down, the lower right of the selected hex (on or off)"},
      {"Scroll bars", "Move the close-up over the map"},
      {"Drop a .map file", "Open it"},
      {"Alt + underlined letter", "Open that menu; the underlined letter of an item then chooses it"},
  };
}

std::vector<KeyRow> PreviewKeyRows() {
  return {{"Left click", "Select that hex in the editor"}, {"Wheel, arrow keys", "Scroll the picture"}};
}

KeyRow EscapeKeyRow() { return {"Esc", "Close Keys and Mouse, About or the Artwork Preview"}; }

}  // namespace kxc2
