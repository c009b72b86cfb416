// Every safe writer over a fake of the file calls: the temporary is synced
// before the move and the folder after, and a failing call keeps the old file.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/file_call_watcher.h"
#include "core/map_file.h"
#include "core/os_files.h"
#include "editing/ini_file.h"
#include "export/bmp_writer.h"
#include "export/png_writer.h"
#include "export/shp_file.h"
#include "tests/support/error_of.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using Call = std::pair<FileCall, std::string>;

// Records the calls, runs of writes as one, and fails every call of one kind.
class FakeFileCalls : public FileCallWatcher {
 public:
  FakeFileCalls(FileCall failing, int err) : failing_(failing), err_(err) { SetFileCallWatcher(this); }
  ~FakeFileCalls() override { SetFileCallWatcher(nullptr); }
  int before(FileCall call, std::string_view path) override {
    if (calls.empty() || call != FileCall::Write || calls.back().first != call) calls.emplace_back(call, path);
    return call == failing_ ? err_ : 0;
  }
  std::vector<Call> calls;

 private:
  FileCall failing_;
  int err_;
};

Image Picture() {
  Image image(3, 2, Image::Format_Indexed8);
  image.setColorTable({MakeRgb(1, 2, 3), MakeRgb(200, 100, 50)});
  image.fill(1);
  return image;
}

struct Writer {
  const char* name;
  std::function<void(const std::string&)> write;
  bool namesPath;  // the error text leads with "Cannot write file PATH: "
};

const Writer kWriters[] = {
    {"map", [](const std::string& p) { WriteMapFile(p, MapDocument{{4500, 45, 40}, {}}); }, false},
    {"ini", [](const std::string& p) { WriteIniString(p, "Editor", "LastMap", "4500"); }, false},
    {"bmp", [](const std::string& p) { SaveBmp8(p, Picture()); }, false},
    {"png", [](const std::string& p) { SavePng(p, Picture()); }, true},
    {"shp", [](const std::string& p) { WriteShpFile(p, IndexedBitmap{2, 1, {0, 1}, {}}); }, false},
};

struct Fault {
  FileCall call;
  int err;
  const char* text;  // "" when the write still succeeds
};

const Fault kFaults[] = {
    {FileCall::Write, ENOSPC, "Disk full"},
    {FileCall::SyncFile, EIO, "I/O error 5"},
    {FileCall::Move, EACCES, "File access denied"},
    {FileCall::SyncFolder, EIO, ""},
};

const std::vector<std::uint8_t> kOld{'o', 'l', 'd', '\r', '\n'};

TEST(SafeWriters, WriteSyncMoveOverTheTargetThenSyncItsFolderOrKeepTheOldFile) {
  for (const Writer& writer : kWriters) {
    test::TempDir dir;
    test::WriteBytes(dir.file("unwatched"), kOld);
    writer.write(dir.file("unwatched"));
    for (const Fault& fault : kFaults) {
      SCOPED_TRACE(std::string(writer.name) + " failing call " + std::to_string(static_cast<int>(fault.call)));
      const std::string target = dir.file("target");
      test::WriteBytes(target, kOld);
      FakeFileCalls fake(fault.call, fault.err);
      const std::string error = test::ErrorOf([&] { writer.write(target); }, "");
      const std::string lead = *fault.text && writer.namesPath ? "Cannot write file " + target + ": " : "";
      EXPECT_EQ(error, lead + fault.text);
      EXPECT_EQ(test::ReadBytes(target), *fault.text ? kOld : test::ReadBytes(dir.file("unwatched")));
      EXPECT_EQ(test::ListFolder(dir.path()), (std::vector<std::string>{"target", "unwatched"}));
      const std::vector<Call> all{{FileCall::Write, ""}, {FileCall::SyncFile, ""}, {FileCall::Move, target},
                                  {FileCall::SyncFolder, FolderOf(target)}};
      const auto made = std::find_if(all.begin(), all.end(), [&](const Call& c) { return c.first == fault.call; });
      EXPECT_EQ(fake.calls, std::vector<Call>(all.begin(), made + 1));
    }
  }
}

}  // namespace
}  // namespace kxc2
