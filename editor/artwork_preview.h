#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QVector>
#include <QWidget>
#include <array>
#include <optional>
#include <random>
#include <vector>

#include "core/map_grid.h"
#include "editor/user_dialogs.h"
#include "export/map_picture.h"
#include "export/piece_layout.h"
#include "export/tile_set.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;
class TForm1;

namespace kxc2 {

// A zoom of the preview as a fraction: 25 % is 1/4.
struct PreviewZoom {
  int numerator = 1;
  int denominator = 1;
  // The picture pixel that view pixel v shows: the one under its centre.
  int toPicture(int v) const;
  // View pixels needed for extent picture pixels.
  int viewExtent(int extent) const;
  // The first view pixel at or right of picture pixel p's left edge.
  int toView(int p) const;
};

PreviewZoom ZoomOfPercent(int percent);

// A piece as the pane outlines it, in view pixels. The label lies inside
// the piece, or is empty where no label fits.
struct PieceMark {
  QRect piece;
  QRect label;
  QString text;
  QFont font;
};

// Shows the painter's picture scaled nearest-pixel, with the pieces'
// outlines and file names on request. It holds a pointer to the picture;
// the preview window owns it.
class PicturePane : public QWidget {
  Q_OBJECT

 public:
  explicit PicturePane(QWidget* parent = nullptr);

  void setPicture(const Image* picture);
  void setZoom(PreviewZoom zoom);
  PreviewZoom zoom() const { return zoom_; }
  void setOutlines(bool shown, int mapNumber);
  // Asks for a repaint of what shows a region of the picture.
  void updatePictureRegion(const QRegion& region);
  // Every piece with its label as the outlines paint them.
  std::vector<PieceMark> pieceMarks() const;

 signals:
  // A pixel of the picture clicked with the left button.
  void pictureClicked(QPoint picturePixel);
  void pointerOverPicture(QPoint picturePixel);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QPoint toPicture(QPoint viewPixel) const;
  void drawOutlines(QPainter& painter) const;

  const Image* picture_ = nullptr;
  PreviewZoom zoom_;
  bool outlines_ = false;
  int mapNumber_ = 0;
};

// The modeless "Artwork Preview" window: the map picture as Paint .BMPs
// paints it, kept up to date through the editor's change signals.
class ArtworkPreview : public QWidget {
  Q_OBJECT

 public:
  ArtworkPreview(TForm1& editor, UserDialogs& dialogs);

  // The editor's one preview, made when first asked for; shown and raised.
  static ArtworkPreview& showFor(TForm1& editor, UserDialogs& dialogs);

  // The picture at 100 %, 8-bit with the tile set's palette; null when the
  // tile set could not be loaded.
  const Image& picture() const { return picture_; }
  // The variant of each hex, drawn once per season while the window lives.
  const VariantGrid& variants() const;
  bool winter() const { return winter_; }

  QRadioButton* SummerButton = nullptr;
  QRadioButton* WinterButton = nullptr;
  QComboBox* ZoomBox = nullptr;
  QCheckBox* OutlinesCheck = nullptr;
  QPushButton* ExportButton = nullptr;
  QScrollArea* ScrollArea = nullptr;
  PicturePane* Pane = nullptr;
  QLabel* StatusLabel = nullptr;

 public slots:
  void repaintHexes(const QVector<QPoint>& hexes);
  void repaintWhole();
  void exportPicture();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void buildLayout();
  void chooseSeason(bool winter);
  void chooseZoom(int index);
  void showOutlines();
  void selectInEditor(QPoint picturePixel);
  void showPointer(QPoint picturePixel);
  void refreshPointer();
  bool sizeChanged() const;
  const TileSet* tileSet();
  QString sizeText() const;
  int pieceMapNumber() const;

  TForm1& editor_;
  UserDialogs& dialogs_;
  bool winter_ = false;
  std::mt19937 random_;
  std::array<std::optional<TileSet>, 2> tiles_;
  std::array<VariantGrid, 2> variants_{};
  std::array<bool, 2> variantsDrawn_{};
  Image picture_;
  PictureSize size_;
  FileDialogState exportDialog_;
};

// Selects a hex in the editor as its middle click does, first scrolling the
// zoomed-in view to it when it lies outside.
void SelectHexInEditor(TForm1& editor, HexCoord hex);

}  // namespace kxc2
