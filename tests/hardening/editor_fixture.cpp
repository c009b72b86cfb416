#include "tests/hardening/editor_fixture.h"

#include <QCryptographicHash>
#include <QHeaderView>
#include <QScrollBar>
#include <QSpinBox>

#include <sstream>

#include "editor/Unit2.h"
#include "editor/Unit3.h"
#include "editor/image_control.h"
#include "tests/export/painter/painter_fixtures.h"
#include "tests/hardening/fault_support.h"

namespace kxc2::test {
namespace {

std::string Hash(const char* data, qsizetype size) {
  return QCryptographicHash::hash(QByteArrayView(data, size), QCryptographicHash::Sha1).toHex().toStdString();
}

std::string Flag(bool value) { return value ? "yes" : "no"; }

}  // namespace

std::string Joined(const QStringList& texts) { return texts.join(QStringLiteral(" / ")).toStdString(); }

std::map<std::string, std::string> EditorState(const TForm1& form) {
  const MapHeader& header = form.document().header;
  const ViewState& view = form.viewState();
  const QImage& picture = form.picture();
  std::ostringstream grid;
  for (int column = 0; column < kGridColumns; ++column)
    for (int row = 0; row < kGridRows; ++row)
      for (std::uint8_t byte : form.document().grid.record(column, row)) grid << int(byte) << ',';
  const std::string gridText = grid.str();
  return {
      {"header", std::to_string(header.mapNumber) + " " + std::to_string(header.columns) + " " +
                     std::to_string(header.rows)},
      {"section0", form.headerSection(0).toStdString()},
      {"section1", form.headerSection(1).toStdString()},
      {"section2", form.headerSection(2).toStdString()},
      {"map shown", Flag(!form.MapImage->isHidden())},
      {"save enabled", Flag(form.SaveAs1->isEnabled())},
      {"paint enabled", Flag(form.PaintBMPs1->isEnabled())},
      {"shps enabled", Flag(form.WriteSHPs1->isEnabled())},
      {"view", Flag(view.ZoomedIn) + " " + std::to_string(view.OriginColumn) + "," + std::to_string(view.OriginRow) +
                   " " + std::to_string(view.SelectedColumn) + "," + std::to_string(view.SelectedRow) + " " +
                   Flag(view.SelectionValid)},
      {"scroll", std::to_string(form.HScrollBar->value()) + " " + std::to_string(form.VScrollBar->value())},
      {"picture", Hash(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes())},
      {"grid", Hash(gridText.data(), static_cast<qsizetype>(gridText.size()))},
      {"open dialog", Flag(form.OpenDialog1.multiSelect) + " " + std::to_string(form.OpenDialog1.filterIndex)},
  };
}

std::map<std::string, std::string> DialogLog(const ScriptedDialogs& dialogs) {
  QStringList boxes;
  for (const QString& error : dialogs.errors) boxes << ErrorBoxText(error);
  return {{"errors", Joined(dialogs.errors)},
          {"error boxes", Joined(boxes)},
          {"notices", Joined(dialogs.notices)},
          {"warnings", Joined(dialogs.warnQuestions)},
          {"confirms", Joined(dialogs.confirmQuestions)}};
}

EditorFaultTest::EditorFaultTest() = default;
EditorFaultTest::~EditorFaultTest() = default;

void EditorFaultTest::writeSettings(const std::string& value) {
  std::filesystem::create_directories(programPath());
  WriteBytes(programPath() / "KXC2MAP.INI", Bytes("[Locations]\r\nKC2=" + value + "\r\n"));
}

void EditorFaultTest::start() {
  std::filesystem::create_directories(programPath());
  form = std::make_unique<TForm1>(dialogs, QString::fromStdString(programFolder()));
  form->Form2 = new TForm2(form.get());
  form->Form3 = new TForm3(form.get());
}

void EditorFaultTest::startWithGame() {
  std::filesystem::create_directories(gamePath());
  writeSettings(gameFolder());
  start();
}

void EditorFaultTest::choose(const std::vector<std::string>& paths) {
  dialogs.openChoices.push_back([paths](FileDialogState& state) {
    state.files.clear();
    for (const std::string& path : paths) state.files << QString::fromStdString(path);
    state.fileName = state.files.value(0);
    return true;
  });
}

void EditorFaultTest::chooseSave(const std::string& path) {
  dialogs.saveChoices.push_back([path](FileDialogState& state) {
    state.fileName = QString::fromStdString(path);
    state.files = QStringList{state.fileName};
    return true;
  });
}

void EditorFaultTest::answerParameters(bool ok, int mapNumber, int columns, int rows, int terrain) {
  dialogs.modalChoices.push_back([=](QDialog& dialog) {
    auto& form2 = dynamic_cast<TForm2&>(dialog);
    form2.SEMapno->setValue(mapNumber);
    form2.SECols->setValue(columns);
    form2.SERows->setValue(rows);
    form2.setTerrainIndex(terrain);
    return ok;
  });
}

void EditorFaultTest::newSavedMap(const std::string& name) {
  form->New1Click();
  form->document().grid.setTerrain(3, 4, 7);
  form->document().grid.setRoadMask(3, 4, 9);
  form->RedrawView();
  std::filesystem::create_directories(gamePath() / "scenario");
  answerParameters(true, 45, 44, 39);
  chooseSave(gameFolder() + "scenario/" + name);
  form->SaveAs1Click();
  ASSERT_TRUE(dialogs.errors.isEmpty()) << Joined(dialogs.errors);
}

void EditorFaultTest::writeBitmap(const std::filesystem::path& path, int width, int height, bool noisy) {
  std::vector<Rgb> palette;
  for (int i = 0; i < 256; ++i) palette.push_back(MakeRgb(i, 255 - i, i / 2));
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, 5);
  // Noise keeps runs short, so the ShpFile grows with the picture.
  std::uint32_t state = 12345;
  if (noisy)
    for (auto& pixel : pixels) pixel = (state = state * 1103515245 + 12345) >> 24;
  WriteBytes(path, BmpFileBytes(width, height, 8, palette, pixels));
}

}  // namespace kxc2::test
