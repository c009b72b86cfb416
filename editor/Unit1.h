#pragma once

#include <QAction>
#include <QChar>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPoint>
#include <QString>
#include <QVector>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "core/map_grid.h"
#include "draw/image.h"
#include "editing/edit_history.h"
#include "editing/map_editor.h"
#include "editing/map_view.h"
#include "editing/view_state.h"
#include "editor/qt_shell.h"
#include "editor/scroll_bar.h"
#include "editor/user_dialogs.h"

class QCheckBox;
class QHeaderView;
class QKeyEvent;
class QLabel;
class QListWidget;
class QScrollBar;
class QStandardItemModel;
class TForm2;
class TForm3;

namespace kxc2 {
class DiscShape;
class ImageControl;
class KeysWindow;
class RoadBox;
}  // namespace kxc2

// The editor's main window: the shell of a MapEditor. Its controls call the
// editor's handlers and set its tools; it shows the editor's snapshot and
// picture whenever they change.
class TForm1 : public QMainWindow {
  Q_OBJECT

  // First: the members below refer into the editor.
  std::unique_ptr<kxc2::QtShell> shell_;
  std::unique_ptr<kxc2::MapEditor> editor_;

 public:
  TForm1(kxc2::UserDialogs& dialogs, const QString& programFolder, QWidget* parent = nullptr);
  ~TForm1() override;

  kxc2::MapDocument& document() { return document_; }
  const kxc2::MapDocument& document() const { return document_; }
  kxc2::ViewState& viewState() { return view_; }
  const kxc2::ViewState& viewState() const { return view_; }
  // A copy of the 616 x 475 picture that MapImage shows.
  QImage picture() const;
  kxc2::MapEditor& editor() { return *editor_; }
  // Shows the editor's snapshot in the controls, the title and the menus.
  void applySnapshot();
  void showPictureChange(kxc2::Rect area);
  // The map-parameters dialog, made on first use.
  TForm2& parametersDialog();

  QString headerSection(int section) const;
  void setHeaderSection(int section, const QString& text);

  // The view's operations on the editor's picture.
  void ToggleFocusRect(int column, int row);
  void RedrawHex(int column, int row);
  void RedrawView();
  // Section 1: "Selected: ..." for the selected hex.
  void WriteSelectedHexCaption();

  // MapEditor::applyHexChange.
  bool applyHexChange(kxc2::HexChange change) { return editor_->applyHexChange(std::move(change)); }
  kxc2::EditHistory& history() { return editor_->history(); }
  kxc2::RecoveryKeeper& recovery() { return editor_->recovery(); }
  // No file behind the map: New, or a recovered copy of a new map.
  bool isUntitled() const { return editor_->fileName().empty(); }

  // Components, named as in the window's layout.
  QHeaderView* Header1 = nullptr;
  kxc2::ImageControl* MapImage = nullptr;
  kxc2::ScrollBar* HScrollBar = nullptr;
  kxc2::ScrollBar* VScrollBar = nullptr;
  QCheckBox* LMBCheck = nullptr;
  QListWidget* TerrainList = nullptr;
  kxc2::RoadBox* Road1 = nullptr;
  kxc2::RoadBox* Road2 = nullptr;
  kxc2::RoadBox* Road3 = nullptr;
  kxc2::RoadBox* Road4 = nullptr;
  kxc2::RoadBox* Road5 = nullptr;
  kxc2::RoadBox* Road6 = nullptr;
  kxc2::DiscShape* Shape1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label8 = nullptr;
  QLabel* Label9 = nullptr;

  QMenuBar* MainMenu1 = nullptr;
  QMenu* File1 = nullptr;
  QMenu* Edit1 = nullptr;
  QMenu* Help1 = nullptr;
  QAction* New1 = nullptr;
  QAction* Open1 = nullptr;
  QMenu* RecentMaps1 = nullptr;
  QAction* N2 = nullptr;
  QAction* SaveAs1 = nullptr;
  QAction* PaintBMPs1 = nullptr;
  QAction* WriteSHPs1 = nullptr;
  QAction* N1 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* Undo1 = nullptr;
  QAction* Redo1 = nullptr;
  QAction* FillArea1 = nullptr;
  QAction* N3 = nullptr;
  QAction* ZoomIn1 = nullptr;
  QAction* ZoomOut1 = nullptr;
  QAction* KeysAndMouse1 = nullptr;
  QMenu* View1 = nullptr;
  QAction* ArtworkPreview1 = nullptr;
  QAction* MapBounds1 = nullptr;
  QAction* About1 = nullptr;

  // The view's tile atlases, kept in the picture's format.
  const kxc2::Image& MapTiles;
  const kxc2::Image& MapTiles2;

  // The editor's; kept between uses.
  kxc2::Shell::FileDialogState& OpenDialog1;
  kxc2::Shell::FileDialogState& SaveDialog1;

  // The map-parameters dialog; the program creates it after this window.
  TForm2* Form2 = nullptr;

 public slots:
  void FormCreate();
  void FormCloseQuery(bool& canClose);
  void FormKeyPress(QChar key);
  void New1Click();
  void Open1Click();
  void SaveAs1Click();
  void PaintBMPs1Click();
  void WriteSHPs1Click();
  void Exit1Click();
  void About1Click();
  void KeysAndMouse1Click();
  void ZoomIn1Click();
  void ZoomOut1Click();
  void HScrollBarScroll(int scrollPos);
  void VScrollBarScroll(int scrollPos);
  // A left press starts a stroke (with "LMB sets terrain") or, with Shift,
  // fills the area under the pointer.
  void MapImageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
  void MapImageMouseMove(QPoint position);
  void MapImageMouseUp(Qt::MouseButton button, QPoint position);
  void MapImageMouseLeave();
  void PlaceRoads2();
  // A drag under way ends first, as its release would end it.
  void Undo1Click();
  void Redo1Click();
  // The connected area of the selected hex's terrain, in the list's terrain.
  void FillArea1Click();
  // Open without its file dialog, for a file named on the command line, a
  // dropped file and a recent map: the save-first question, then the file.
  void openNamedMap(const QString& fileName);
  void openRecentMap(const QString& fileName);
  void ArtworkPreview1Click();
  // Shades the hexes beyond the header's columns and rows, or stops; the
  // choice is kept in the settings file.
  void MapBounds1Click();

 signals:
  // After the grid is written and redrawn: every hex a change, an undo or a
  // redo wrote (x = column, y = row).
  void hexesChanged(const QVector<QPoint>& hexes);
  // After New, Open or a recovered copy has replaced the whole map.
  void mapReplaced();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Layout.
  void buildLayout();
  void buildMenu();
  void buildHeader(QWidget* client);
  void buildMapControls(QWidget* client);
  void buildTerrainControls(QWidget* client);
  void buildRoadControls(QWidget* client);
  void buildTitleLabels(QWidget* client);
  void connectHandlers();
  bool receivesKeysFirst(const QObject* watched) const;
  void applyOuterSize();
  // A window larger than its first size gives the map view the room.
  void recordAnchors();
  void layoutForSize();
  void applyViewSize(QSize size);
  void keepTerrainShown();
  std::array<kxc2::RoadBox*, 6> roadBoxes() const { return {Road1, Road2, Road3, Road4, Road5, Road6}; }
  // Set while the snapshot is shown: the controls' own signals then echo it.
  bool applying_ = false;

  kxc2::UserDialogs& dialogs_;
  QString programFolder_;  // as given; the editor settles it
  kxc2::MapDocument& document_;
  kxc2::ViewState& view_;
  QStandardItemModel* headerModel_ = nullptr;
  bool outerSizeApplied_ = false;
  QSize firstSize_;
  struct Anchor {
    QWidget* widget;
    QRect first;
    bool stretchX, stretchY, moveX, moveY;
  };
  std::vector<Anchor> anchors_;

  // Window commands.

 public:
  // The About window; the program creates it after this window.
  TForm3* Form3 = nullptr;
  // All end with a separator and are settled by FormCreate.
  QString ProgramFolder() const { return QString::fromStdString(editor_->programFolder()); }
  QString GameFolder() const { return QString::fromStdString(editor_->gameFolder()); }
  QString UserFolder() const { return QString::fromStdString(editor_->userFolder()); }

 private:
  kxc2::KeysWindow* keysWindow_ = nullptr;
  // File > Recent Maps, rebuilt when the editor's list changes.
  void showRecentMaps(const std::vector<std::string>& paths);
  std::optional<kxc2::EditorSnapshot> shown_;  // the snapshot the widgets show
  kxc2::EditorSnapshot next_;                  // filled anew on each change

  // The Edit menu's history commands; the editor's changes as signals.
  void buildHistory();
};
