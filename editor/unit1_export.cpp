// Game art commands of the main window: Paint .BMPs and Draw .SHPs.
#include <cstdint>
#include <string>
#include <vector>

#include "core/game_paths.h"
#include "editor/Unit1.h"
#include "export/map_painter.h"
#include "export/shp_conversion.h"

namespace {

constexpr const char* kBitmapsPainted =
    "Bitmaps painted.  If you haven't already done so, you should save your map now.";
constexpr const char* kShpFilesDrawn = "SHP files drawn.";
constexpr const char* kConvertTitle = "Convert bitmaps to SHPs";
constexpr int kMapsFilter = 1;
constexpr int kBitmapsFilter = 2;

// Draw .SHPs borrows OpenDialog1; whatever happens, the next user finds it
// back in single selection on its first filter.
class OpenDialogLoan {
 public:
  explicit OpenDialogLoan(kxc2::FileDialogState& dialog) : dialog_(dialog) {}
  ~OpenDialogLoan() {
    dialog_.multiSelect = false;
    dialog_.filterIndex = kMapsFilter;
  }
  OpenDialogLoan(const OpenDialogLoan&) = delete;
  OpenDialogLoan& operator=(const OpenDialogLoan&) = delete;

 private:
  kxc2::FileDialogState& dialog_;
};

}  // namespace

void TForm1::PaintBMPs1Click() {
  const std::uint32_t seed = kxc2::SeedFromClock();
  kxc2::Shell::MapParameters parameters{document_.header.columns, document_.header.rows};
  if (!shell_->runParameters(parameters)) return;
  // These stand from here on, whatever becomes of the painting.
  document_.header = {parameters.mapNumber, parameters.columns, parameters.rows};

  kxc2::PaintRequest request;
  request.mapNumber = document_.header.mapNumber;
  request.columns = document_.header.columns;
  request.rows = document_.header.rows;
  request.winter = parameters.winter;
  request.programFolder = programFolder_.toStdString();
  request.userFolder = userFolder_.toStdString();
  request.gameFolder = gameFolder_.toStdString();
  request.seed = seed;
  const auto ask = [this](const std::string& question) {
    return dialogs_.warn(this, QString::fromStdString(question));
  };
  // Runs to its end without handing control back to the event loop, so the
  // window neither repaints nor takes input until the notice.
  try {
    if (!kxc2::PaintMapBitmaps(document_, request, ask).painted) return;
  } catch (const std::exception& error) {
    showCommandError(error);
    return;
  }
  dialogs_.notify(this, QString::fromLatin1(kBitmapsPainted));
}

void TForm1::WriteSHPs1Click() {
  const OpenDialogLoan loan(OpenDialog1);
  OpenDialog1.multiSelect = true;
  OpenDialog1.filterIndex = kBitmapsFilter;
  OpenDialog1.fileName.clear();
  OpenDialog1.title = QString::fromLatin1(kConvertTitle);
  OpenDialog1.initialFolder = QString::fromStdString(kxc2::ResolveNoCase(gameFolder_.toStdString(), "UserBMP"));
  if (!dialogs_.runOpenDialog(this, OpenDialog1)) return;

  std::vector<std::string> bitmaps;
  for (const QString& file : OpenDialog1.files) bitmaps.push_back(file.toStdString());
  const auto ask = [this](const std::string& question) {
    return dialogs_.warn(this, QString::fromStdString(question));
  };
  try {
    if (!kxc2::ConvertBitmapsToShp(bitmaps, gameFolder_.toStdString(), ask).completed) return;
  } catch (const std::exception& error) {
    showCommandError(error);
    return;
  }
  dialogs_.notify(this, QString::fromLatin1(kShpFilesDrawn));
}
