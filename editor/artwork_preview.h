#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QVector>
#include <QWidget>
#include <vector>

#include "core/map_grid.h"
#include "editing/artwork_preview_model.h"
#include "editor/user_dialogs.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;
class TForm1;

namespace kxc2 {

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
  // Asks for a repaint of what shows these rectangles of the picture.
  void updatePictureRects(const std::vector<Rect>& rects);
  // Every piece with its label as the outlines paint them.
  std::vector<PieceMark> pieceMarks() const;
  QFont labelFont(LabelFont font) const;

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
  const Image& picture() const { return model_.picture(); }
  // The variant of each hex, drawn once per season while the window lives.
  const VariantGrid& variants() const { return model_.variants(); }
  bool winter() const { return model_.winter(); }

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
  int pieceMapNumber() const;

  TForm1& editor_;
  UserDialogs& dialogs_;
  ArtworkPreviewModel model_;
  FileDialogState exportDialog_;
};

// Selects a hex in the editor as its middle click does, first scrolling the
// zoomed-in view to it when it lies outside.
void SelectHexInEditor(TForm1& editor, HexCoord hex);

}  // namespace kxc2
