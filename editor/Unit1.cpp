// The main window: its layout, the map view's handlers, hex editing and the
// window commands (start-up, New, Open, Save, Exit, About) and the Edit menu's
// history items; what the commands do is the editor's, here are the window's
// own parts.
#include "editor/Unit1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QUrl>
#include <array>
#include <map>
#include <string_view>
#include <vector>

#include "core/terrain.h"
#include "draw/qt_bridge.h"
#include "editing/menu_table.h"
#include "editing/recovery_keeper.h"
#include "editor/Unit2.h"
#include "editor/Unit3.h"
#include "editor/artwork_preview.h"
#include "editor/disc_shape.h"
#include "editor/form_style.h"
#include "editor/image_control.h"
#include "editor/keys_window.h"
#include "editor/road_box.h"
#include "editor/scroll_bar.h"

using kxc2::HexCoord;
using kxc2::SansSerifFont;
using kxc2::SerifFont;

namespace {

constexpr QSize kOuterSize{795, 585};
// A usual title bar and border until the real frame is known at first show.
constexpr QSize kAssumedFrame{8, 27};
constexpr int kTerrainItemHeight = 13;
const QColor kPurple{128, 0, 128};

// Qt shows "[*]" as "*" while the map has unsaved changes, else not at all.
const char* const kWindowCaption = "Korvex Command 2 Mapmaker[*]";
constexpr std::array<int, 3> kHeaderWidths = {201, 207, 207};

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QPoint at,
                  const QFont& font, QColor colour) {
  auto* label = Named(new QLabel(text, parent), name);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  label->adjustSize();
  label->move(at);
  return label;
}

// Characters, as a key-press handler of a window sees them; Tab moves the
// focus instead. X11 gives control keys text too (Backspace, Delete, Escape,
// Return, Ctrl+letters): those type nothing and are no road keys.
bool IsCharacterKey(const QKeyEvent& event) {
  if (event.text().isEmpty() || !event.text().at(0).isPrint()) return false;
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  return event.key() != Qt::Key_Tab && event.key() != Qt::Key_Backtab;
}

}  // namespace

TForm1::TForm1(kxc2::UserDialogs& dialogs, const QString& programFolder, QWidget* parent)
    : QMainWindow(parent),
      shell_(std::make_unique<kxc2::QtShell>(*this, dialogs)),
      editor_(std::make_unique<kxc2::MapEditor>(*shell_, kxc2::RecoveryStore::DefaultFolder())),
      MapTiles(editor_->tiles()),
      MapTiles2(editor_->tiles2()),
      OpenDialog1(editor_->OpenDialog1),
      SaveDialog1(editor_->SaveDialog1),
      dialogs_(dialogs),
      programFolder_(programFolder),
      document_(editor_->document()),
      view_(editor_->viewState()) {
  buildLayout();
  // Both belong to the main window, so they end with it.
  Form2 = new TForm2(this);
  Form3 = new TForm3(this);
  connectHandlers();
  applySnapshot();
  FormCreate();
}

TForm1::~TForm1() = default;

QImage TForm1::picture() const { return kxc2::ToQImage(editor_->picture()); }

QString TForm1::headerSection(int section) const {
  return headerModel_->headerData(section, Qt::Horizontal).toString();
}

void TForm1::setHeaderSection(int section, const QString& text) { editor_->setHeaderText(section, text.toStdString()); }

// Only what differs from the snapshot shown last is set: a pointer crossing
// the view changes one caption, and this runs on every move.
void TForm1::applySnapshot() {
  if (Undo1 == nullptr || Road6 == nullptr) return;  // still being built
  // A change made while the widgets are being set fills a snapshot of its own.
  kxc2::EditorSnapshot nested;
  kxc2::EditorSnapshot& shot = applying_ ? nested : next_;
  editor_->snapshotInto(shot);
  if (shown_ && *shown_ == shot) return;
  const kxc2::EditorSnapshot* old = shown_ ? &*shown_ : nullptr;
  const auto differs = [old, &shot](auto member) { return old == nullptr || old->*member != shot.*member; };
  const bool wasApplying = std::exchange(applying_, true);
  for (int section = 0; section < 3; ++section) {
    if (old != nullptr && old->header[std::size_t(section)] == shot.header[std::size_t(section)]) continue;
    headerModel_->setHeaderData(section, Qt::Horizontal, QString::fromStdString(shot.header[std::size_t(section)]));
  }
  setWindowModified(shot.unsaved);
  if (differs(&kxc2::EditorSnapshot::roads)) {
    const auto boxes = roadBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i]->setChecked(shot.roads[i]);
  }
  if (TerrainList->currentRow() != shot.terrainRow) TerrainList->setCurrentRow(shot.terrainRow);
  if (shot.terrainRow < 0 && !TerrainList->selectedItems().isEmpty()) TerrainList->clearSelection();
  LMBCheck->setChecked(shot.lmbSetsTerrain);
  ZoomIn1->setChecked(shot.zoomedIn);
  ZoomOut1->setChecked(!shot.zoomedIn);
  // Setting a bar raises no action, so nothing scrolls back.
  if (differs(&kxc2::EditorSnapshot::scrollBars)) {
    for (const auto& [bar, state] : {std::pair{HScrollBar, shot.scrollBars.horizontal},
                                     std::pair{VScrollBar, shot.scrollBars.vertical}}) {
      bar->setRange(state.minimum, state.maximum);
      bar->setPageStep(state.pageStep);
      bar->setValue(state.value);
      bar->setEnabled(state.enabled);
    }
  }
  if (shot.mapShown && MapImage->isHidden()) MapImage->show();
  for (QAction* command : {SaveAs1, PaintBMPs1, ArtworkPreview1, FillArea1})
    command->setEnabled(shot.mapCommandsEnabled);
  if (differs(&kxc2::EditorSnapshot::undoText)) Undo1->setText(QString::fromStdString(shot.undoText));
  Undo1->setEnabled(shot.undoEnabled);
  if (differs(&kxc2::EditorSnapshot::redoText)) Redo1->setText(QString::fromStdString(shot.redoText));
  Redo1->setEnabled(shot.redoEnabled);
  MapBounds1->setChecked(shot.mapBounds);
  if (differs(&kxc2::EditorSnapshot::recentMaps)) showRecentMaps(shot.recentMaps);
  // The old one's strings take the next snapshot.
  if (shown_ && &shot == &next_)
    std::swap(*shown_, next_);
  else
    shown_ = shot;
  applying_ = wasApplying;
}

void TForm1::showPictureChange(kxc2::Rect area) {
  if (MapImage != nullptr) MapImage->update(kxc2::ToQRect(area));
}

// ---- Layout -------------------------------------------------------------

void TForm1::buildLayout() {
  setObjectName("Form1");
  setWindowTitle(QString::fromLatin1(kWindowCaption));
  setAcceptDrops(true);
  setFont(SansSerifFont(11));
  firstSize_ = kOuterSize - kAssumedFrame;
  resize(firstSize_);
  buildMenu();
  auto* client = Named(new QWidget(this), "ClientArea");
  setCentralWidget(client);
  buildHeader(client);
  buildMapControls(client);
  buildTerrainControls(client);
  buildRoadControls(client);
  buildTitleLabels(client);

  recordAnchors();

  setTabOrder(Road6, Road1);
  setTabOrder(Road1, Road2);
  setTabOrder(Road2, Road3);
  setTabOrder(Road3, Road4);
  setTabOrder(Road4, Road5);
  setTabOrder(Road5, LMBCheck);
  setTabOrder(LMBCheck, TerrainList);
}

// Built from the core's menu table, as the Windows editor's menus are.
void TForm1::buildMenu() {
  MainMenu1 = Named(menuBar(), "MainMenu1");
  const std::map<std::string_view, QMenu* TForm1::*> menus = {
      {"File1", &TForm1::File1}, {"Edit1", &TForm1::Edit1}, {"View1", &TForm1::View1},
      {"Help1", &TForm1::Help1}, {"RecentMaps1", &TForm1::RecentMaps1}};
  const std::map<std::string_view, QAction* TForm1::*> actions = {
      {"New1", &TForm1::New1},           {"Open1", &TForm1::Open1},
      {"N2", &TForm1::N2},               {"SaveAs1", &TForm1::SaveAs1},
      {"PaintBMPs1", &TForm1::PaintBMPs1}, {"WriteSHPs1", &TForm1::WriteSHPs1},
      {"N1", &TForm1::N1},               {"Exit1", &TForm1::Exit1},
      {"Undo1", &TForm1::Undo1},         {"Redo1", &TForm1::Redo1},
      {"FillArea1", &TForm1::FillArea1}, {"N3", &TForm1::N3},
      {"ZoomIn1", &TForm1::ZoomIn1},     {"ZoomOut1", &TForm1::ZoomOut1},
      {"ArtworkPreview1", &TForm1::ArtworkPreview1}, {"MapBounds1", &TForm1::MapBounds1},
      {"KeysAndMouse1", &TForm1::KeysAndMouse1}, {"About1", &TForm1::About1}};
  QMenu* menu = nullptr;
  for (const kxc2::MenuEntry& entry : kxc2::MainMenuEntries()) {
    const QString caption = QString::fromLatin1(entry.caption);
    switch (entry.kind) {
      case kxc2::MenuEntryKind::Menu:
        menu = this->*menus.at(entry.name) = Named(MainMenu1->addMenu(caption), entry.name);
        break;
      case kxc2::MenuEntryKind::Submenu: {
        QMenu* submenu = this->*menus.at(entry.name) = Named(menu->addMenu(caption), entry.name);
        Named(submenu->menuAction(), entry.name);
        submenu->setEnabled(entry.enabled);
        break;
      }
      case kxc2::MenuEntryKind::Separator:
      case kxc2::MenuEntryKind::Item: {
        QAction* action = this->*actions.at(entry.name) = Named(new QAction(caption, this), entry.name);
        action->setSeparator(entry.kind == kxc2::MenuEntryKind::Separator);
        QList<QKeySequence> keys;
        for (const char* key : entry.keys)
          if (key != nullptr) keys << QKeySequence(QString::fromLatin1(key), QKeySequence::PortableText);
        action->setShortcuts(keys);
        action->setCheckable(entry.checkable);
        action->setEnabled(entry.enabled);
        menu->addAction(action);
        break;
      }
    }
  }
  ZoomIn1->setChecked(true);
  buildHistory();
}

void TForm1::buildHeader(QWidget* client) {
  headerModel_ = new QStandardItemModel(0, 3, this);
  Header1 = Named(new QHeaderView(Qt::Horizontal, client), "Header1");
  Header1->setModel(headerModel_);
  Header1->setGeometry(7, 5, 616, 25);
  Header1->setSectionResizeMode(QHeaderView::Fixed);
  Header1->setStretchLastSection(false);
  Header1->setSectionsClickable(false);
  Header1->setHighlightSections(false);
  Header1->setDefaultAlignment(Qt::AlignCenter);
  // The captions come with the editor's snapshot.
  for (int section = 0; section < 3; ++section) Header1->resizeSection(section, kHeaderWidths[section]);
}

void TForm1::buildMapControls(QWidget* client) {
  MapImage = Named(new kxc2::ImageControl(client), "MapImage");
  MapImage->setGeometry(7, 29, kxc2::kViewWidth, kxc2::kViewHeight);
  MapImage->setPicture(&editor_->picture());
  MapImage->hide();  // until New or Open brings a map

  HScrollBar = Named(new kxc2::ScrollBar(Qt::Horizontal, client), "HScrollBar");
  HScrollBar->setGeometry(8, 505, 616, 16);
  VScrollBar = Named(new kxc2::ScrollBar(Qt::Vertical, client), "VScrollBar");
  VScrollBar->setGeometry(624, 31, 16, 475);
  for (QScrollBar* bar : {HScrollBar, VScrollBar}) {
    bar->setSingleStep(1);
    bar->setTracking(true);
  }
}

void TForm1::buildTerrainControls(QWidget* client) {
  LMBCheck = Named(new QCheckBox("LMB sets terrain", client), "LMBCheck");
  LMBCheck->setGeometry(667, 7, 111, 17);

  TerrainList = Named(new QListWidget(client), "TerrainList");
  TerrainList->setGeometry(661, 32, 111, 228);
  TerrainList->setSelectionMode(QAbstractItemView::SingleSelection);
  TerrainList->setUniformItemSizes(true);
  for (int code = 0; code < kxc2::kTerrainCount; ++code) {
    const std::string_view text = kxc2::TerrainListText(code);
    auto* item = new QListWidgetItem(QString::fromLatin1(text.data(), qsizetype(text.size())));
    item->setSizeHint(QSize(TerrainList->width() - 4, kTerrainItemHeight));
    TerrainList->addItem(item);
  }
}

void TForm1::buildRoadControls(QWidget* client) {
  Shape1 = Named(new kxc2::DiscShape(client), "Shape1");
  Shape1->setGeometry(683, 291, 65, 65);
  Shape1->setColours(kPurple, kPurple, 3);

  const auto box = [client](const char* name, QRect bounds) {
    auto* road = Named(new kxc2::RoadBox(QString::fromLatin1(name), client), name);
    road->setGeometry(bounds);
    return road;
  };
  Road1 = box("Road1", {709, 281, 15, 17});
  Road2 = box("Road2", {737, 298, 14, 17});
  Road3 = box("Road3", {737, 328, 15, 17});
  Road4 = box("Road4", {709, 347, 15, 17});
  Road5 = box("Road5", {679, 328, 15, 17});
  Road6 = box("Road6", {680, 298, 15, 17});

  Label1 = MakeLabel(client, "Label1", "Roads", {696, 316}, SansSerifFont(11, true), Qt::white);
  const QFont letters = SansSerifFont(11);
  Label4 = MakeLabel(client, "Label4", "W", {669, 286}, letters, Qt::black);
  Label5 = MakeLabel(client, "Label5", "E", {712, 264}, letters, Qt::black);
  Label6 = MakeLabel(client, "Label6", "R", {756, 286}, letters, Qt::black);
  Label7 = MakeLabel(client, "Label7", "S", {671, 344}, letters, Qt::black);
  Label8 = MakeLabel(client, "Label8", "D", {712, 365}, letters, Qt::black);
  Label9 = MakeLabel(client, "Label9", "F", {756, 344}, letters, Qt::black);
}

void TForm1::buildTitleLabels(QWidget* client) {
  Label2 = MakeLabel(client, "Label2", "KxC2", {680, 443}, SerifFont(32, true), Qt::red);
  Label3 = MakeLabel(client, "Label3", "Mapmaker", {652, 475}, SerifFont(27, true), Qt::red);
}

void TForm1::connectHandlers() {
  connect(New1, &QAction::triggered, this, &TForm1::New1Click);
  connect(Open1, &QAction::triggered, this, &TForm1::Open1Click);
  connect(SaveAs1, &QAction::triggered, this, &TForm1::SaveAs1Click);
  connect(PaintBMPs1, &QAction::triggered, this, &TForm1::PaintBMPs1Click);
  connect(WriteSHPs1, &QAction::triggered, this, &TForm1::WriteSHPs1Click);
  connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
  connect(ZoomIn1, &QAction::triggered, this, &TForm1::ZoomIn1Click);
  connect(ZoomOut1, &QAction::triggered, this, &TForm1::ZoomOut1Click);
  connect(About1, &QAction::triggered, this, &TForm1::About1Click);
  connect(KeysAndMouse1, &QAction::triggered, this, &TForm1::KeysAndMouse1Click);
  connect(ArtworkPreview1, &QAction::triggered, this, &TForm1::ArtworkPreview1Click);
  connect(MapBounds1, &QAction::triggered, this, &TForm1::MapBounds1Click);

  // Every kind of scroll notification: arrows, pages, each thumb-tracking
  // step (the slider position is already the new one), thumb released.
  connect(HScrollBar, &QAbstractSlider::actionTriggered, this,
          [this] { HScrollBarScroll(HScrollBar->sliderPosition()); });
  connect(HScrollBar, &QAbstractSlider::sliderReleased, this,
          [this] { HScrollBarScroll(HScrollBar->sliderPosition()); });
  connect(VScrollBar, &QAbstractSlider::actionTriggered, this,
          [this] { VScrollBarScroll(VScrollBar->sliderPosition()); });
  connect(VScrollBar, &QAbstractSlider::sliderReleased, this,
          [this] { VScrollBarScroll(VScrollBar->sliderPosition()); });
  // The menu's "Scroll here" sets the value without an action; its other
  // items raise one and have already scrolled.
  connect(HScrollBar, &kxc2::ScrollBar::movedByMenu, this, [this](int position) {
    if (position != view_.OriginColumn) HScrollBarScroll(position);
  });
  connect(VScrollBar, &kxc2::ScrollBar::movedByMenu, this, [this](int position) {
    if (position != view_.OriginRow) VScrollBarScroll(position);
  });

  connect(MapImage, &kxc2::ImageControl::mousePressed, this, &TForm1::MapImageMouseDown);
  connect(MapImage, &kxc2::ImageControl::mouseMoved, this, &TForm1::MapImageMouseMove);
  connect(FillArea1, &QAction::triggered, this, &TForm1::FillArea1Click);
  connect(MapImage, &kxc2::ImageControl::mouseReleased, this, &TForm1::MapImageMouseUp);
  connect(MapImage, &kxc2::ImageControl::mouseLeft, this, &TForm1::MapImageMouseLeave);
  const auto boxes = roadBoxes();
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    // A click toggles the box before its release places the roads.
    connect(boxes[i], &QCheckBox::toggled, this, [this, i](bool checked) {
      if (!applying_) editor_->setRoadBox(int(i), checked);
    });
    connect(boxes[i], &kxc2::RoadBox::mouseReleased, this, &TForm1::PlaceRoads2);
  }
  connect(LMBCheck, &QCheckBox::toggled, this, [this](bool checked) {
    if (!applying_) editor_->setLmbSetsTerrain(checked);
  });
  connect(TerrainList, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!applying_) editor_->setTerrain(row);
  });

  // A single-choice list: Ctrl cannot take the choice away.
  connect(TerrainList, &QListWidget::itemSelectionChanged, this, &TForm1::keepTerrainShown);

  // Keys reach the window first whichever control has the focus, the window
  // itself and controls made later included.
  QCoreApplication::instance()->installEventFilter(this);
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!outerSizeApplied_) applyOuterSize();
}

void TForm1::applyOuterSize() {
  outerSizeApplied_ = true;
  const QSize frame = frameGeometry().size() - size();
  firstSize_ = kOuterSize - frame;
  setMinimumSize(firstSize_);
  resize(firstSize_);
  if (const QScreen* screen = this->screen()) {
    QRect outer(frameGeometry().topLeft(), kOuterSize);
    outer.moveCenter(screen->availableGeometry().center());
    move(outer.topLeft());
  }
}

void TForm1::recordAnchors() {
  const auto anchor = [this](QWidget* widget, bool stretchX, bool stretchY, bool moveX, bool moveY) {
    anchors_.push_back({widget, widget->geometry(), stretchX, stretchY, moveX, moveY});
  };
  anchor(Header1, true, false, false, false);
  anchor(MapImage, true, true, false, false);
  anchor(HScrollBar, true, false, false, true);
  anchor(VScrollBar, false, true, true, false);
  for (QWidget* right : std::initializer_list<QWidget*>{LMBCheck, TerrainList, Shape1, Road1, Road2, Road3, Road4,
                                                         Road5, Road6, Label1, Label2, Label3, Label4, Label5,
                                                         Label6, Label7, Label8, Label9})
    anchor(right, false, false, true, false);
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  layoutForSize();
}

void TForm1::layoutForSize() {
  if (anchors_.empty()) return;
  const QSize extra = (size() - firstSize_).expandedTo(QSize(0, 0));
  for (const Anchor& anchor : anchors_) {
    QRect bounds = anchor.first;
    if (anchor.stretchX) bounds.setWidth(bounds.width() + extra.width());
    if (anchor.stretchY) bounds.setHeight(bounds.height() + extra.height());
    bounds.translate(anchor.moveX ? extra.width() : 0, anchor.moveY ? extra.height() : 0);
    anchor.widget->setGeometry(bounds);
  }
  // The sections share the header's extra width, so the captions stay centred.
  for (int section = 0; section < 3; ++section)
    Header1->resizeSection(section, kHeaderWidths[section] + extra.width() / 3 + (section == 2 ? extra.width() % 3 : 0));
  applyViewSize(MapImage->size());
}

void TForm1::applyViewSize(QSize size) { editor_->setViewSize(size.width(), size.height()); }

void TForm1::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  FormCloseQuery(canClose);
  event->setAccepted(canClose);
}

// The window sees every typed character before the control with the focus,
// and lets it go on to that control.
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && receivesKeysFirst(watched)) {
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (IsCharacterKey(key)) FormKeyPress(key.text().at(0));
  }
  return QMainWindow::eventFilter(watched, event);
}

// A key its first receiver leaves alone travels on to the parents, past this
// filter again; only the first receiver counts. That is the window's focus
// control, or the window itself when it holds the focus or none has it.
bool TForm1::receivesKeysFirst(const QObject* watched) const {
  const QWidget* focus = focusWidget();
  return watched == (focus != nullptr ? focus : this);
}

// ---- The editor's handlers ----------------------------------------------

namespace {

kxc2::MouseButton ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return kxc2::MouseButton::Left;
    case Qt::RightButton: return kxc2::MouseButton::Right;
    case Qt::MiddleButton: return kxc2::MouseButton::Middle;
    default: return kxc2::MouseButton::Other;
  }
}

}  // namespace

void TForm1::ToggleFocusRect(int column, int row) { editor_->ToggleFocusRect(column, row); }
void TForm1::RedrawHex(int column, int row) { editor_->RedrawHex(column, row); }
void TForm1::RedrawView() { editor_->RedrawView(); }
void TForm1::WriteSelectedHexCaption() { editor_->WriteSelectedHexCaption(); }
void TForm1::HScrollBarScroll(int scrollPos) { editor_->HScrollBarScroll(scrollPos); }
void TForm1::VScrollBarScroll(int scrollPos) { editor_->VScrollBarScroll(scrollPos); }
void TForm1::ZoomIn1Click() { editor_->ZoomIn1Click(); }
void TForm1::ZoomOut1Click() { editor_->ZoomOut1Click(); }

void TForm1::keepTerrainShown() {
  const QModelIndex current = TerrainList->currentIndex();
  if (!current.isValid()) return;
  const QList<QListWidgetItem*> shown = TerrainList->selectedItems();
  if (shown.size() == 1 && shown.front() == TerrainList->currentItem()) return;
  TerrainList->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
}

void TForm1::MapImageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position) {
  editor_->MapImageMouseDown(ButtonOf(button), (modifiers & Qt::ShiftModifier) != 0, kxc2::FromQPoint(position));
}

void TForm1::MapImageMouseMove(QPoint position) { editor_->MapImageMouseMove(kxc2::FromQPoint(position)); }
void TForm1::MapImageMouseLeave() { editor_->MapImageMouseLeave(); }

void TForm1::MapImageMouseUp(Qt::MouseButton button, QPoint position) {
  editor_->MapImageMouseUp(ButtonOf(button), kxc2::FromQPoint(position));
}

void TForm1::FillArea1Click() { editor_->FillArea1Click(); }
void TForm1::PlaceRoads2() { editor_->PlaceRoads2(); }
void TForm1::FormKeyPress(QChar key) { editor_->FormKeyPress(key.toLatin1()); }
void TForm1::Undo1Click() { editor_->Undo1Click(); }
void TForm1::Redo1Click() { editor_->Redo1Click(); }

void TForm1::ArtworkPreview1Click() { kxc2::ArtworkPreview::showFor(*this, dialogs_); }

// ---- Start-up -----------------------------------------------------------

void TForm1::FormCreate() {
  editor_->FormCreate(programFolder_.toStdString(), QCoreApplication::applicationName().toStdString());
  Road1->setFocus();
  editor_->offerRecoveryCopies();
}

TForm2& TForm1::parametersDialog() { return *Form2; }

// ---- The editor's commands ------------------------------------------------

void TForm1::New1Click() { editor_->New1Click(); }
void TForm1::Open1Click() { editor_->Open1Click(); }
void TForm1::SaveAs1Click() { editor_->SaveAs1Click(); }
void TForm1::openNamedMap(const QString& fileName) { editor_->openNamedMap(fileName.toStdString()); }
void TForm1::openRecentMap(const QString& fileName) { editor_->openRecentMap(fileName.toStdString()); }
void TForm1::FormCloseQuery(bool& canClose) { canClose = editor_->FormCloseQuery(); }
void TForm1::MapBounds1Click() { editor_->MapBounds1Click(MapBounds1->isChecked()); }
void TForm1::PaintBMPs1Click() { editor_->PaintBMPs1Click(); }
void TForm1::WriteSHPs1Click() { editor_->WriteSHPs1Click(); }

namespace {

// A drag's items as local paths; "" for any other.
std::vector<std::string> DroppedFiles(const QMimeData* data) {
  std::vector<std::string> files;
  if (data == nullptr || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) files.push_back(url.isLocalFile() ? url.toLocalFile().toStdString() : std::string());
  return files;
}

}  // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (kxc2::IsOneMapFile(DroppedFiles(event->mimeData()))) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const std::vector<std::string> files = DroppedFiles(event->mimeData());
  if (!kxc2::IsOneMapFile(files)) return;
  event->acceptProposedAction();
  editor_->openDroppedFiles(files);
}

void TForm1::showRecentMaps(const std::vector<std::string>& paths) {
  RecentMaps1->clear();
  int number = 1;
  for (const std::string& path : paths) {
    const QString fileName = QString::fromStdString(path);
    QAction* action = RecentMaps1->addAction(QStringLiteral("&%1  %2").arg(number++).arg(QDir::toNativeSeparators(fileName)));
    connect(action, &QAction::triggered, this, [this, fileName] { openRecentMap(fileName); });
  }
  RecentMaps1->setEnabled(!paths.empty());
}

// ---- Exit, close request, About -----------------------------------------

void TForm1::Exit1Click() { close(); }

void TForm1::About1Click() { Form3->showAbout(); }

void TForm1::KeysAndMouse1Click() {
  if (!keysWindow_) keysWindow_ = new kxc2::KeysWindow(MainMenu1->actions(), this);
  keysWindow_->showKeys();
}

// ---- The Edit menu's history items; the editor's changes as signals --

void TForm1::buildHistory() {
  connect(Undo1, &QAction::triggered, this, &TForm1::Undo1Click);
  connect(Redo1, &QAction::triggered, this, &TForm1::Redo1Click);

  editor_->onHexesChanged([this](const std::vector<kxc2::HexCoord>& hexes) {
    QVector<QPoint> points;
    points.reserve(qsizetype(hexes.size()));
    for (const kxc2::HexCoord& hex : hexes) points.append(QPoint(hex.column, hex.row));
    emit hexesChanged(points);
  });
  editor_->onMapReplaced([this] { emit mapReplaced(); });
}
