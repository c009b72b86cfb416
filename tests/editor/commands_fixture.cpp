#include "tests/editor/commands_fixture.h"

#include <QSpinBox>
#include <QGroupBox>

namespace kxc2::test {

HexRecord MapFileRecord(int column, int row) {
  const auto c = static_cast<std::uint8_t>(column);
  const auto r = static_cast<std::uint8_t>(row);
  return HexRecord{static_cast<std::uint8_t>((column + row) % 17), static_cast<std::uint8_t>(c + 1),
                   static_cast<std::uint8_t>(column * 3 + row),     r,
                   static_cast<std::uint8_t>(200 + r % 50),         c,
                   static_cast<std::uint8_t>(c ^ r)};
}

std::vector<std::uint8_t> MapFileBytes(int mapNumber, int columns, int rows, std::size_t size) {
  std::vector<std::uint8_t> bytes(14561, 0);
  const int header[] = {mapNumber, columns, rows};
  for (int i = 0; i < 3; ++i) {
    bytes[2 * i] = static_cast<std::uint8_t>(header[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(header[i] >> 8);
  }
  bytes[6] = 0xAB;  // reserved bytes a writer never carries over
  for (int row = 0; row < 40; ++row)
    for (int column = 0; column < 45; ++column) {
      const HexRecord record = MapFileRecord(column, row);
      std::copy(record.begin(), record.end(), bytes.begin() + 10 + 7 * (45 * row + column));
    }
  bytes[12610] = 0x77;  // a foreign trailer
  bytes.resize(size, 0x55);
  return bytes;
}

CommandsTest::CommandsTest() = default;
CommandsTest::~CommandsTest() = default;

void CommandsTest::writeSettings(const std::string& body, const std::string& name) {
  WriteBytes(program.path() / name, std::vector<std::uint8_t>(body.begin(), body.end()));
}

void CommandsTest::start() {
  form = std::make_unique<TForm1>(dialogs, programFolder());
  form->Form2 = new TForm2(form.get());
  form->Form3 = new TForm3(form.get());
}

void CommandsTest::chooseOpen(const std::string& path) {
  dialogs.openChoices.push_back([path](FileDialogState& state) {
    state.fileName = QString::fromStdString(path);
    state.files = QStringList{state.fileName};
    return true;
  });
}

void CommandsTest::cancelOpen() {
  dialogs.openChoices.push_back([](FileDialogState&) { return false; });
}

void CommandsTest::chooseSave(const std::string& path) {
  dialogs.saveChoices.push_back([path](FileDialogState& state) {
    state.fileName = QString::fromStdString(path);
    state.files = QStringList{state.fileName};
    return true;
  });
}

void CommandsTest::cancelSave() {
  dialogs.saveChoices.push_back([](FileDialogState&) { return false; });
}

void CommandsTest::okParameters(int mapNumber) {
  dialogs.modalChoices.push_back([this, mapNumber](QDialog& dialog) {
    auto& form2 = dynamic_cast<TForm2&>(dialog);
    parametersSeen.push_back({form2.SECols->value(), form2.SERows->value(), form2.SEMapno->value(),
                              form2.Terrtype->isEnabled()});
    if (mapNumber >= 0) form2.SEMapno->setValue(mapNumber);
    return true;
  });
}

void CommandsTest::cancelParameters() {
  dialogs.modalChoices.push_back([this](QDialog& dialog) {
    auto& form2 = dynamic_cast<TForm2&>(dialog);
    parametersSeen.push_back({form2.SECols->value(), form2.SERows->value(), form2.SEMapno->value(),
                              form2.Terrtype->isEnabled()});
    form2.SEMapno->setValue(form2.SEMapno->value() + 1);  // typed, then Cancel
    return false;
  });
}

void CommandsTest::newMapWithPaint() {
  form->New1Click();
  form->document().grid.setTerrain(3, 4, 7);
  form->document().grid.setRoadMask(3, 4, 9);
}

void CommandsTest::writeMap(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  WriteBytes(game.path() / name, bytes);
}

}  // namespace kxc2::test
