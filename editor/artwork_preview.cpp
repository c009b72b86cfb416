// The Artwork Preview window: the painter's picture of the map, live.
#include "editor/artwork_preview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "core/terrain.h"
#include "draw/qt_bridge.h"
#include "editing/map_view.h"
#include "editor/Unit1.h"
#include "editor/Unit2.h"
#include "export/map_painter.h"
#include "export/png_writer.h"

namespace kxc2 {
namespace {

constexpr std::array<int, 4> kZoomPercents = {25, 50, 100, 200};
constexpr int kStartZoomIndex = 1;
const QColor kOutlineColour{255, 0, 255};
const QColor kBackground{64, 64, 64};

// The exposed part of the view, each pixel the picture pixel under its
// centre: crisp at every zoom, and the same rule the clicks use.
QImage ScaledPart(const Image& picture, PreviewZoom zoom, const QRect& area) {
  QImage part(area.size(), QImage::Format_RGB32);
  const std::vector<Rgb>& table = picture.colorTable();
  std::array<QRgb, 256> colours{};
  for (std::size_t i = 0; i < colours.size() && i < table.size(); ++i) colours[i] = table[i];
  std::vector<int> sourceX(std::size_t(area.width()));
  for (int i = 0; i < area.width(); ++i)
    sourceX[std::size_t(i)] = std::clamp(zoom.toPicture(area.left() + i), 0, picture.width() - 1);
  for (int j = 0; j < area.height(); ++j) {
    const int y = std::clamp(zoom.toPicture(area.top() + j), 0, picture.height() - 1);
    const std::uint8_t* source = picture.constScanLine(y);
    auto* target = reinterpret_cast<QRgb*>(part.scanLine(j));
    for (int i = 0; i < area.width(); ++i) target[i] = colours[source[sourceX[std::size_t(i)]]];
  }
  return part;
}

}  // namespace

// ---- The picture pane ---------------------------------------------------

PicturePane::PicturePane(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Pane"));
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PicturePane::setPicture(const Image* picture) {
  picture_ = picture;
  setZoom(zoom_);
}

void PicturePane::setZoom(PreviewZoom zoom) {
  zoom_ = zoom;
  const bool shown = picture_ != nullptr && !picture_->isNull();
  resize(shown ? QSize(zoom_.viewExtent(picture_->width()), zoom_.viewExtent(picture_->height())) : QSize(0, 0));
  update();
}

void PicturePane::setOutlines(bool shown, int mapNumber) {
  if (outlines_ == shown && mapNumber_ == mapNumber) return;
  outlines_ = shown;
  mapNumber_ = mapNumber;
  update();
}

void PicturePane::updatePictureRects(const std::vector<Rect>& rects) {
  QRegion view;
  for (const Rect& rect : rects) view += ToQRect(zoom_.toView(rect));
  update(view);
}

QPoint PicturePane::toPicture(QPoint viewPixel) const {
  return {zoom_.toPicture(viewPixel.x()), zoom_.toPicture(viewPixel.y())};
}

void PicturePane::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect area = event->rect().intersected(rect());
  if (picture_ == nullptr || picture_->isNull() || area.isEmpty()) {
    painter.fillRect(event->rect(), kBackground);
    return;
  }
  painter.drawImage(area.topLeft(), ScaledPart(*picture_, zoom_, area));
  if (outlines_) drawOutlines(painter);
}

std::vector<PieceMark> PicturePane::pieceMarks() const {
  if (picture_ == nullptr || picture_->isNull()) return {};
  const QFontMetrics normal(labelFont(LabelFont::Normal));
  const QFontMetrics small(labelFont(LabelFont::Small));
  return PieceMarks({picture_->width(), picture_->height()}, zoom_, mapNumber_,
                    [&](const std::string& text, LabelFont font) {
                      const QFontMetrics& metrics = font == LabelFont::Normal ? normal : small;
                      return Size(metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height());
                    });
}

QFont PicturePane::labelFont(LabelFont font) const {
  QFont chosen = this->font();
  if (font == LabelFont::Small) chosen.setPixelSize(kSmallLabelPixels);
  return chosen;
}

void PicturePane::drawOutlines(QPainter& painter) const {
  for (const PieceMark& mark : pieceMarks()) {
    const QRect piece = ToQRect(mark.piece);
    painter.setPen(kOutlineColour);
    painter.drawLine(piece.topLeft(), piece.topRight());
    painter.drawLine(piece.bottomLeft(), piece.bottomRight());
    painter.drawLine(piece.topLeft(), piece.bottomLeft());
    painter.drawLine(piece.topRight(), piece.bottomRight());
    if (mark.label.isEmpty()) continue;
    painter.fillRect(ToQRect(mark.label), Qt::black);
    painter.setPen(Qt::white);
    painter.setFont(labelFont(mark.font));
    painter.drawText(ToQRect(mark.label), Qt::AlignCenter, QString::fromStdString(mark.text));
  }
}

void PicturePane::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit pictureClicked(toPicture(event->position().toPoint()));
}

void PicturePane::mouseMoveEvent(QMouseEvent* event) {
  emit pointerOverPicture(toPicture(event->position().toPoint()));
}

// ---- The window ---------------------------------------------------------

ArtworkPreview::ArtworkPreview(TForm1& editor, UserDialogs& dialogs)
    : QWidget(&editor, Qt::Window), editor_(editor),
      dialogs_(dialogs),
      model_([&editor](bool winter) {
        return LoadPainterTileSet(editor.ProgramFolder().toStdString(), winter, editor.UserFolder().toStdString());
      }) {
  setObjectName(QStringLiteral("ArtworkPreview"));
  setWindowTitle(QStringLiteral("Artwork Preview"));
  // Closing forgets the variants drawn; the next opening draws anew.
  setAttribute(Qt::WA_DeleteOnClose);
  exportDialog_.title = QStringLiteral("Export Picture");
  exportDialog_.filter = QStringLiteral("PNG pictures|*.png");
  exportDialog_.defaultExtension = QStringLiteral("png");
  exportDialog_.overwritePrompt = true;
  exportDialog_.initialFolder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  buildLayout();
  connect(&editor_, &TForm1::hexesChanged, this, &ArtworkPreview::repaintHexes);
  connect(&editor_, &TForm1::mapReplaced, this, &ArtworkPreview::repaintWhole);
  repaintWhole();
}

ArtworkPreview& ArtworkPreview::showFor(TForm1& editor, UserDialogs& dialogs) {
  ArtworkPreview* preview = nullptr;
  // A closed one is only waiting to be deleted.
  for (ArtworkPreview* child : editor.findChildren<ArtworkPreview*>(QString(), Qt::FindDirectChildrenOnly))
    if (child->isVisible()) preview = child;
  if (preview == nullptr) preview = new ArtworkPreview(editor, dialogs);
  preview->show();
  preview->raise();
  preview->activateWindow();
  return *preview;
}

void ArtworkPreview::buildLayout() {
  SummerButton = new QRadioButton(QStringLiteral("Summer"), this);
  SummerButton->setObjectName(QStringLiteral("SummerButton"));
  SummerButton->setChecked(true);
  WinterButton = new QRadioButton(QStringLiteral("Winter"), this);
  WinterButton->setObjectName(QStringLiteral("WinterButton"));
  ZoomBox = new QComboBox(this);
  ZoomBox->setObjectName(QStringLiteral("ZoomBox"));
  for (int percent : kZoomPercents) ZoomBox->addItem(QStringLiteral("%1 %").arg(percent), percent);
  ZoomBox->setCurrentIndex(kStartZoomIndex);
  OutlinesCheck = new QCheckBox(QStringLiteral("Piece outlines"), this);
  OutlinesCheck->setObjectName(QStringLiteral("OutlinesCheck"));
  ExportButton = new QPushButton(QStringLiteral("Export Picture\u2026"), this);
  ExportButton->setObjectName(QStringLiteral("ExportButton"));
  ExportButton->setAutoDefault(false);

  Pane = new PicturePane;
  Pane->setZoom(ZoomOfPercent(kZoomPercents[kStartZoomIndex]));
  ScrollArea = new QScrollArea(this);
  ScrollArea->setObjectName(QStringLiteral("ScrollArea"));
  ScrollArea->setBackgroundRole(QPalette::Dark);
  ScrollArea->setFocusPolicy(Qt::StrongFocus);
  ScrollArea->setWidget(Pane);
  StatusLabel = new QLabel(this);
  StatusLabel->setObjectName(QStringLiteral("StatusLabel"));

  auto* bar = new QHBoxLayout;
  bar->addWidget(SummerButton);
  bar->addWidget(WinterButton);
  bar->addSpacing(12);
  bar->addWidget(new QLabel(QStringLiteral("Zoom"), this));
  bar->addWidget(ZoomBox);
  bar->addSpacing(12);
  bar->addWidget(OutlinesCheck);
  bar->addStretch();
  bar->addWidget(ExportButton);
  auto* column = new QVBoxLayout(this);
  column->addLayout(bar);
  column->addWidget(ScrollArea, 1);
  column->addWidget(StatusLabel);
  resize(980, 720);
  ScrollArea->setFocus();

  connect(WinterButton, &QRadioButton::toggled, this, &ArtworkPreview::chooseSeason);
  connect(ZoomBox, &QComboBox::currentIndexChanged, this, &ArtworkPreview::chooseZoom);
  connect(OutlinesCheck, &QCheckBox::toggled, this, &ArtworkPreview::showOutlines);
  connect(ExportButton, &QPushButton::clicked, this, &ArtworkPreview::exportPicture);
  connect(Pane, &PicturePane::pictureClicked, this, &ArtworkPreview::selectInEditor);
  connect(Pane, &PicturePane::pointerOverPicture, this, &ArtworkPreview::showPointer);
  // Scrolling and zooming move the picture under a pointer standing still.
  for (QScrollBar* bar : {ScrollArea->horizontalScrollBar(), ScrollArea->verticalScrollBar()})
    connect(bar, &QScrollBar::valueChanged, this, &ArtworkPreview::refreshPointer);
  const auto step = [this](int by) {
    ZoomBox->setCurrentIndex(std::clamp(ZoomBox->currentIndex() + by, 0, ZoomBox->count() - 1));
  };
  connect(new QShortcut(QKeySequence::ZoomIn, this), &QShortcut::activated, this, [step] { step(1); });
  connect(new QShortcut(QKeySequence::ZoomOut, this), &QShortcut::activated, this, [step] { step(-1); });
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
}

void ArtworkPreview::repaintWhole() {
  StatusLabel->setText(QString::fromStdString(model_.repaintWhole(editor_.document())));
  ExportButton->setEnabled(!picture().isNull());
  Pane->setPicture(&picture());
  showOutlines();
}

void ArtworkPreview::repaintHexes(const QVector<QPoint>& hexes) {
  std::vector<HexCoord> changed;
  changed.reserve(std::size_t(hexes.size()));
  for (const QPoint& hex : hexes) changed.push_back({hex.x(), hex.y()});
  if (const auto rects = model_.repaintHexes(editor_.document(), changed))
    Pane->updatePictureRects(*rects);
  else
    repaintWhole();
}

// Save and Paint .BMPs may have set a new size or number in the header
// while this window was in the background.
void ArtworkPreview::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isActiveWindow()) return;
  if (model_.sizeChanged(editor_.document().header)) repaintWhole();
  showOutlines();
}

void ArtworkPreview::chooseSeason(bool winter) {
  model_.setWinter(winter);
  repaintWhole();
}

void ArtworkPreview::chooseZoom(int index) {
  if (index < 0) return;
  // The picture point at the middle of the view stays there.
  QScrollBar* across = ScrollArea->horizontalScrollBar();
  QScrollBar* down = ScrollArea->verticalScrollBar();
  const QSize viewport = ScrollArea->viewport()->size();
  const PreviewZoom old = Pane->zoom();
  const QPoint middle(old.toPicture(across->value() + viewport.width() / 2),
                      old.toPicture(down->value() + viewport.height() / 2));
  Pane->setZoom(ZoomOfPercent(ZoomBox->itemData(index).toInt()));
  const PreviewZoom zoom = Pane->zoom();
  across->setValue(zoom.toView(middle.x()) - viewport.width() / 2);
  down->setValue(zoom.toView(middle.y()) - viewport.height() / 2);
  refreshPointer();
}

void ArtworkPreview::showOutlines() {
  Pane->setOutlines(OutlinesCheck->isChecked(), pieceMapNumber());
}

int ArtworkPreview::pieceMapNumber() const {
  return PieceMapNumber(editor_.document().header, editor_.isUntitled(),
                        std::optional(editor_.Form2->SEMapno->value()));
}

void ArtworkPreview::selectInEditor(QPoint picturePixel) {
  if (picture().isNull()) return;
  SelectHexInEditor(editor_, HexAtPicturePixel(picturePixel.x(), picturePixel.y()));
}

void ArtworkPreview::showPointer(QPoint picturePixel) {
  if (picture().isNull()) return;
  StatusLabel->setText(
      QString::fromStdString(model_.pointerText(editor_.document().grid, FromQPoint(picturePixel))));
}

void ArtworkPreview::refreshPointer() {
  if (picture().isNull()) return;
  const QPoint global = QCursor::pos();
  const QWidget* viewport = ScrollArea->viewport();
  const QPoint at = Pane->mapFromGlobal(global);
  if (viewport->rect().contains(viewport->mapFromGlobal(global)) && Pane->rect().contains(at))
    showPointer(QPoint(Pane->zoom().toPicture(at.x()), Pane->zoom().toPicture(at.y())));
  else
    StatusLabel->setText(QString::fromStdString(model_.sizeText()));
}

void ArtworkPreview::exportPicture() {
  if (picture().isNull()) return;
  exportDialog_.fileName = QString::fromStdString(model_.exportFileName(pieceMapNumber()));
  if (!dialogs_.runSaveDialog(this, exportDialog_)) return;
  try {
    SavePng(exportDialog_.fileName.toStdString(), picture());
  } catch (const std::exception& error) {
    dialogs_.showError(this, QString::fromStdString(error.what()));
    return;
  }
  StatusLabel->setText(QStringLiteral("Saved %1").arg(exportDialog_.fileName));
}

// ---- Selecting in the editor --------------------------------------------

void SelectHexInEditor(TForm1& editor, HexCoord hex) { SelectHexInEditor(editor.editor(), hex); }

}  // namespace kxc2
