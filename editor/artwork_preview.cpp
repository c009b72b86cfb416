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

int FloorDiv(int value, int divisor) { return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor); }

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

// Small enough that a zoomed-out piece keeps most of its picture in view.
constexpr int kSmallLabelPixels = 9;
constexpr int kLabelInset = 2;

bool InZoomedInWindow(const ViewState& view, HexCoord hex) {
  return hex.column >= view.OriginColumn && hex.column < view.OriginColumn + ShownColumns(view) &&
         hex.row >= view.OriginRow && hex.row < view.OriginRow + ShownRows(view);
}

}  // namespace

// ---- Zoom ---------------------------------------------------------------

int PreviewZoom::toPicture(int v) const { return FloorDiv((2 * v + 1) * denominator, 2 * numerator); }

int PreviewZoom::viewExtent(int extent) const {
  return (2 * numerator * extent + denominator - 1) / (2 * denominator);
}

int PreviewZoom::toView(int p) const {
  const int twice = 2 * denominator;
  return -FloorDiv(-(2 * numerator * p - denominator), twice);
}

PreviewZoom ZoomOfPercent(int percent) {
  if (percent >= 100) return {percent / 100, 1};
  return {1, 100 / percent};
}

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

void PicturePane::updatePictureRegion(const QRegion& region) {
  QRegion view;
  for (const QRect& rect : region)
    view += QRect(QPoint(zoom_.toView(rect.left()), zoom_.toView(rect.top())),
                  QPoint(zoom_.toView(rect.right() + 1) - 1, zoom_.toView(rect.bottom() + 1) - 1));
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
  std::vector<PieceMark> marks;
  if (picture_ == nullptr || picture_->isNull()) return marks;
  const PictureSize size{picture_->width(), picture_->height()};
  QFont small = font();
  small.setPixelSize(kSmallLabelPixels);
  // Richest label first; a zoomed-out view starts further down so the
  // labels cover less of the picture. Pieces too small for any go without.
  const int pieceViewWidth = zoom_.viewExtent(kPieceWidth);
  const int first = pieceViewWidth >= kPieceWidth ? 0 : pieceViewWidth >= kPieceWidth / 2 ? 1 : 2;
  for (int i = 0; i < PieceColumnCount(size); ++i) {
    for (int j = 0; j < PieceRowCount(size); ++j) {
      const int left = kPieceWidth * i;
      const int top = kPieceHeight * j;
      PieceMark mark;
      mark.piece = QRect(QPoint(zoom_.toView(left), zoom_.toView(top)),
                         QPoint(zoom_.toView(left + PieceWidth(size, i)) - 1,
                                zoom_.toView(top + PieceHeight(size, j)) - 1));
      const QString file = QString::fromStdString(PieceFileName(mapNumber_, i, j));
      const std::array<QString, 4> texts = {
          file + QStringLiteral("  %1 x %2").arg(PieceWidth(size, i)).arg(PieceHeight(size, j)), file, file,
          file.chopped(4)};
      // Off the outline, so the piece's edge stays visible all round.
      const QRect room = mark.piece.adjusted(kLabelInset, kLabelInset, -kLabelInset, -kLabelInset);
      for (int form = first; form < int(texts.size()); ++form) {
        const QFont labelFont = form < 2 ? font() : small;
        const QFontMetrics metrics(labelFont);
        const QString& text = texts[std::size_t(form)];
        const QRect label(room.topLeft(), QSize(metrics.horizontalAdvance(text) + 6, metrics.height() + 2));
        if (!room.contains(label)) continue;
        mark.label = label;
        mark.text = text;
        mark.font = labelFont;
        break;
      }
      marks.push_back(mark);
    }
  }
  return marks;
}

void PicturePane::drawOutlines(QPainter& painter) const {
  for (const PieceMark& mark : pieceMarks()) {
    const QRect& piece = mark.piece;
    painter.setPen(kOutlineColour);
    painter.drawLine(piece.topLeft(), piece.topRight());
    painter.drawLine(piece.bottomLeft(), piece.bottomRight());
    painter.drawLine(piece.topLeft(), piece.bottomLeft());
    painter.drawLine(piece.topRight(), piece.bottomRight());
    if (mark.label.isEmpty()) continue;
    painter.fillRect(mark.label, Qt::black);
    painter.setPen(Qt::white);
    painter.setFont(mark.font);
    painter.drawText(mark.label, Qt::AlignCenter, mark.text);
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
    : QWidget(&editor, Qt::Window), editor_(editor), dialogs_(dialogs), random_(SeedFromClock()) {
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

const VariantGrid& ArtworkPreview::variants() const { return variants_[winter_ ? 1 : 0]; }

// Loaded once per season while the window lives; the variants with it.
const TileSet* ArtworkPreview::tileSet() {
  const int season = winter_ ? 1 : 0;
  if (!tiles_[season]) tiles_[season] = LoadPainterTileSet(editor_.ProgramFolder().toStdString(), winter_,
                                                               editor_.UserFolder().toStdString());
  if (!variantsDrawn_[season]) {
    variants_[season] = DrawVariants(random_, tiles_[season]->variantCount());
    variantsDrawn_[season] = true;
  }
  return &*tiles_[season];
}

bool ArtworkPreview::sizeChanged() const {
  const MapHeader& header = editor_.document().header;
  return MapPictureSize(ColumnsInDialogRange(header.columns), RowsInDialogRange(header.rows)) != size_;
}

void ArtworkPreview::repaintWhole() {
  const MapHeader& header = editor_.document().header;
  const int columns = ColumnsInDialogRange(header.columns);
  const int rows = RowsInDialogRange(header.rows);
  size_ = MapPictureSize(columns, rows);
  try {
    picture_ = PaintMapPicture(editor_.document().grid, columns, rows, *tileSet(), variants());
    StatusLabel->setText(sizeText());
  } catch (const std::exception& error) {
    picture_ = Image();
    StatusLabel->setText(QString::fromStdString(error.what()));
  }
  ExportButton->setEnabled(!picture_.isNull());
  Pane->setPicture(&picture_);
  showOutlines();
}

void ArtworkPreview::repaintHexes(const QVector<QPoint>& hexes) {
  if (picture_.isNull() || sizeChanged()) {
    repaintWhole();
    return;
  }
  std::vector<HexCoord> changed;
  changed.reserve(std::size_t(hexes.size()));
  for (const QPoint& hex : hexes) changed.push_back({hex.x(), hex.y()});
  QRegion region;
  for (const Rect& rect : RepaintChangedHexes(picture_, editor_.document().grid, *tileSet(), variants(), changed))
    region += QRect(rect.left(), rect.top(), rect.width(), rect.height());
  Pane->updatePictureRegion(region);
}

// Save and Paint .BMPs may have set a new size or number in the header
// while this window was in the background.
void ArtworkPreview::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isActiveWindow()) return;
  if (sizeChanged()) repaintWhole();
  showOutlines();
}

void ArtworkPreview::chooseSeason(bool winter) {
  winter_ = winter;
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

// An Untitled map has no number of its own (New keeps the last map's):
// Paint .BMPs would propose the parameters dialog's, which a dialog not yet
// made starts at the lowest.
int ArtworkPreview::pieceMapNumber() const {
  const int number = editor_.document().header.mapNumber;
  if (!editor_.isUntitled() && number >= kMinMapNumber && number <= kMaxMapNumber) return number;
  return editor_.Form2 != nullptr ? editor_.Form2->SEMapno->value() : kMinMapNumber;
}

void ArtworkPreview::selectInEditor(QPoint picturePixel) {
  if (picture_.isNull()) return;
  SelectHexInEditor(editor_, HexAtPicturePixel(picturePixel.x(), picturePixel.y()));
}

QString ArtworkPreview::sizeText() const {
  return QStringLiteral("%1 x %2 pixels, %3 pieces")
      .arg(size_.width)
      .arg(size_.height)
      .arg(PieceColumnCount(size_) * PieceRowCount(size_));
}

void ArtworkPreview::showPointer(QPoint picturePixel) {
  if (picture_.isNull()) return;
  const HexCoord hex = HexAtPicturePixel(picturePixel.x(), picturePixel.y());
  const int terrain = editor_.document().grid.terrain(hex.column, hex.row);
  StatusLabel->setText(sizeText() + QString::asprintf("   Hex ( %.2d, %.2d ) %s", hex.column, hex.row,
                                                      DisplayNameOrUnknown(terrain).c_str()));
}

void ArtworkPreview::refreshPointer() {
  if (picture_.isNull()) return;
  const QPoint global = QCursor::pos();
  const QWidget* viewport = ScrollArea->viewport();
  const QPoint at = Pane->mapFromGlobal(global);
  if (viewport->rect().contains(viewport->mapFromGlobal(global)) && Pane->rect().contains(at))
    showPointer(QPoint(Pane->zoom().toPicture(at.x()), Pane->zoom().toPicture(at.y())));
  else
    StatusLabel->setText(sizeText());
}

void ArtworkPreview::exportPicture() {
  if (picture_.isNull()) return;
  exportDialog_.fileName = QString::asprintf("Map%.2d %s.png", pieceMapNumber(),
                                             winter_ ? "winter" : "summer");
  if (!dialogs_.runSaveDialog(this, exportDialog_)) return;
  try {
    SavePng(exportDialog_.fileName.toStdString(), picture_);
  } catch (const std::exception& error) {
    dialogs_.showError(this, QString::fromStdString(error.what()));
    return;
  }
  StatusLabel->setText(QStringLiteral("Saved %1").arg(exportDialog_.fileName));
}

// ---- Selecting in the editor --------------------------------------------

void SelectHexInEditor(TForm1& editor, HexCoord hex) {
  if (editor.viewState().ZoomedIn && !InZoomedInWindow(editor.viewState(), hex)) {
    const HexCoord origin = ZoomInOrigin(hex.column, hex.row, editor.viewState());
    editor.HScrollBarScroll(origin.column);
    editor.VScrollBarScroll(origin.row);
  }
  editor.MapImageMouseUp(Qt::MiddleButton, ToQPoint(CellRect(editor.viewState(), hex.column, hex.row).center()));
}

}  // namespace kxc2
