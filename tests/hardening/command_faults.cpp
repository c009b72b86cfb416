#include "tests/hardening/command_faults.h"

#include "export/bmp_writer.h"
#include "tests/hardening/fault_support.h"
#include "tests/support/child_process.h"

namespace kxc2::test {
namespace {

// What a failed command must leave as it was; the header is the dialog's.
struct Kept {
  MapGrid grid;
  ViewState view;
  EditorSnapshot shot;
  Image picture;
  bool multiSelect;
  int filterIndex;
  explicit Kept(const MapEditor& editor)
      : grid(editor.document().grid), view(editor.viewState()), shot(editor.snapshot()), picture(editor.picture()),
        multiSelect(editor.OpenDialog1.multiSelect), filterIndex(editor.OpenDialog1.filterIndex) {}
  friend bool operator==(const Kept&, const Kept&) = default;
};

}  // namespace

Report RunWithFault(Fault fault, long sizeLimit, const std::function<Report()>& body) {
  ChildReport report;
  const auto child = [&] {
    report.put(body());
    return 0;
  };
  int code = -1;
  switch (fault) {
    case Fault::DiskFull: code = RunWithFileSizeLimit(sizeLimit, child); break;
    case Fault::ReadOnlyFolder: code = AsNobody(child); break;
    case Fault::None:
    case Fault::MissingFolder: code = RunInChild(child); break;
  }
  Report values = report.values();
  values["exit"] = std::to_string(code);
  return values;
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : " / ") + text;
  return joined;
}

void FaultTest::writeGameSetting(const std::string& value) {
  std::filesystem::create_directories(programPath());
  WriteBytes(programPath() / "KXC2MAP.INI", Bytes("[Locations]\r\nKC2=" + value + "\r\n"));
}

// As EditorTest::start, from programPath().
void FaultTest::start() {
  std::filesystem::create_directories(programPath());
  editor.reset();
  editor = std::make_unique<MapEditor>(shell, recoveryFolder);
  editor->FormCreate(programFolder(), "KxC2Map");
  editor->offerRecoveryCopies();
}

void FaultTest::startWithGame() {
  std::filesystem::create_directories(gamePath());
  writeGameSetting(gameFolder());
  start();
}

void FaultTest::choose(const std::vector<std::string>& paths) {
  shell.openChoices.push_back([paths](Shell::FileDialogState& state) {
    state.files = paths;
    state.fileName = paths.empty() ? "" : paths.front();
    return true;
  });
}

Report FaultTest::runFaulty(Fault fault, long sizeLimit, const std::function<void()>& command) {
  return RunWithFault(fault, sizeLimit, [&] {
    const Kept before(*editor);
    command();
    const MapHeader& header = editor->document().header;
    return Report{{"errors", Joined(shell.errors)},
                  {"notices", Joined(shell.notices)},
                  {"warnings", Joined(shell.warnQuestions)},
                  {"confirms", Joined(shell.confirmQuestions)},
                  {"header", std::to_string(header.mapNumber) + " " + std::to_string(header.columns) + " " +
                                 std::to_string(header.rows)},
                  {"caption", editor->snapshot().header[0]},
                  {"kept", Kept(*editor) == before ? "yes" : "no"}};
  });
}

void FaultTest::writeBitmap(const std::filesystem::path& path, int width, int height, bool noisy) {
  Image picture(width, height, Image::Format_Indexed8);
  std::vector<Rgb> palette;
  for (int i = 0; i < 256; ++i) palette.push_back(MakeRgb(i, 255 - i, i / 2));
  picture.setColorTable(palette);
  picture.fill(5);
  // Noise keeps runs short, so the ShpFile grows with the picture.
  std::uint32_t state = 12345;
  if (noisy)
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        picture.bits()[std::size_t(y) * picture.bytesPerLine() + std::size_t(x)] =
            std::uint8_t((state = state * 1103515245 + 12345) >> 24);
  SaveBmp8(path.string(), picture);
}

}  // namespace kxc2::test
