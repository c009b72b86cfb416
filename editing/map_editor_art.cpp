// The game art commands: Paint .BMPs and Draw .SHPs.
#include <cstdint>
#include <string>
#include <vector>

#include "core/game_paths.h"
#include "editing/map_editor.h"
#include "export/map_painter.h"
#include "export/shp_conversion.h"

namespace {

constexpr const char* kBitmapsPainted =
    "Bitmaps painted.  If you haven't already done so, you should save your map now.";
constexpr const char* kShpFilesDrawn = "SHP files drawn.";
constexpr const char* kConvertTitle = "Convert bitmaps to SHPs";

// Draw .SHPs borrows OpenDialog1; whatever happens, the next user finds it
// back in single selection on its first filter.
class OpenDialogLoan {
 public:
  explicit OpenDialogLoan(kxc2::Shell::FileDialogState& dialog) : dialog_(dialog) {}
  ~OpenDialogLoan() {
    dialog_.multiSelect = false;
    dialog_.filterIndex = kxc2::kMapsFilter;
  }
  OpenDialogLoan(const OpenDialogLoan&) = delete;
  OpenDialogLoan& operator=(const OpenDialogLoan&) = delete;

 private:
  kxc2::Shell::FileDialogState& dialog_;
};

}  // namespace

namespace kxc2 {

void MapEditor::PaintBMPs1Click() {
  const std::uint32_t seed = SeedFromClock();
  Shell::MapParameters parameters{document_.header.columns, document_.header.rows};
  if (!shell_.runParameters(parameters)) return;
  // These stand from here on, whatever becomes of the painting.
  document_.header = {parameters.mapNumber, parameters.columns, parameters.rows};

  PaintRequest request;
  request.mapNumber = document_.header.mapNumber;
  request.columns = document_.header.columns;
  request.rows = document_.header.rows;
  request.winter = parameters.winter;
  request.programFolder = programFolder_;
  request.userFolder = userFolder_;
  request.gameFolder = gameFolder_;
  request.seed = seed;
  const auto ask = [this](const std::string& question) { return shell_.warn(question); };
  // Runs to its end without handing control back to the event loop, so the
  // window neither repaints nor takes input until the notice.
  try {
    if (!PaintMapBitmaps(document_, request, ask).painted) return;
  } catch (const std::exception& error) {
    showCommandError(error);
    return;
  }
  shell_.notify(kBitmapsPainted);
}

void MapEditor::WriteSHPs1Click() {
  const OpenDialogLoan loan(OpenDialog1);
  OpenDialog1.multiSelect = true;
  OpenDialog1.filterIndex = kBitmapsFilter;
  OpenDialog1.fileName.clear();
  OpenDialog1.title = kConvertTitle;
  OpenDialog1.initialFolder = ResolveNoCase(gameFolder_, "UserBMP");
  if (!shell_.runOpenDialog(OpenDialog1)) return;

  const auto ask = [this](const std::string& question) { return shell_.warn(question); };
  try {
    if (!ConvertBitmapsToShp(OpenDialog1.files, gameFolder_, ask).completed) return;
  } catch (const std::exception& error) {
    showCommandError(error);
    return;
  }
  shell_.notify(kShpFilesDrawn);
}

}  // namespace kxc2
