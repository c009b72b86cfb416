#pragma once

namespace kxc2 {

// What the map view shows and which hex is selected; lives as long as the
// main window. Field names follow the program's own vocabulary.
struct ViewState {
  bool ZoomedIn = true;
  int OriginColumn = 0;   // 0..31 zoomed in, 0 zoomed out
  int OriginRow = 0;      // 0..30 zoomed in, 0 zoomed out
  int SelectedColumn = -1;
  int SelectedRow = -1;
  bool SelectionValid = false;  // the road keys act only once this is set
  // The picture the view draws into: 616 x 475 at the window's first size.
  int ViewWidth = 616;
  int ViewHeight = 475;
  // Zoomed out, the scroll bars stay where the zoomed-in origin left them.
  int KeptColumn = 0;
  int KeptRow = 0;

  friend bool operator==(const ViewState&, const ViewState&) = default;
};

}  // namespace kxc2
