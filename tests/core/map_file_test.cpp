#include <gtest/gtest.h>

#include <filesystem>

#include "core/io_error.h"
#include "core/map_file.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

MapDocument SampleDocument() {
  MapDocument document;
  document.header = {45, 30, 20};
  for (int column = 0; column < kGridColumns; ++column)
    for (int row = 0; row < kGridRows; ++row)
      document.grid.setRecord(column, row,
                              {static_cast<std::uint8_t>((column + row) % 17), static_cast<std::uint8_t>(column),
                               static_cast<std::uint8_t>(row * 3), 0xA1, 0xB2, static_cast<std::uint8_t>(column * row),
                               0xFF});
  return document;
}

TEST(MapFileWriter, LayoutOfNewMap) {
  MapDocument document;
  document.header = {32, 44, 39};
  const auto bytes = EncodeMapFile(document);
  ASSERT_EQ(bytes.size(), 14561u);
  const std::uint8_t head[] = {0x20, 0x00, 0x2C, 0x00, 0x27, 0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_TRUE(std::equal(std::begin(head), std::end(head), bytes.begin()));
  EXPECT_TRUE(std::all_of(bytes.begin() + 10, bytes.begin() + 12610, [](auto b) { return b == 0; }));
  const std::uint8_t trailer[] = {0x01, 0x55, 0x01, 0x0C, 0x04, 0x01, 0x00, 0x0E,
                                  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_TRUE(std::equal(std::begin(trailer), std::end(trailer), bytes.begin() + 12610));
  EXPECT_TRUE(std::all_of(bytes.begin() + 12625, bytes.end(), [](auto b) { return b == 0; }));
}

TEST(MapFileWriter, RecordOffsetsInFileOrder) {
  const struct {
    int column, row;
    std::size_t offset;
  } cases[] = {{0, 0, 10}, {1, 0, 17}, {44, 0, 318}, {0, 1, 325}, {44, 39, 12603}};
  for (const auto& c : cases) {
    MapDocument document;
    const HexRecord record{200, 1, 68, 2, 3, 4, 5};
    document.grid.setRecord(c.column, c.row, record);
    const auto bytes = EncodeMapFile(document);
    EXPECT_TRUE(std::equal(record.begin(), record.end(), bytes.begin() + c.offset)) << c.column << "," << c.row;
    const auto nonZero = std::count_if(bytes.begin() + 10, bytes.begin() + 12610, [](auto b) { return b != 0; });
    EXPECT_EQ(nonZero, 7) << c.column << "," << c.row;
  }
}

TEST(MapFileWriter, HeaderKeepsLow16Bits) {
  MapDocument document;
  document.header = {0x12345, 65535, 0};
  const auto bytes = EncodeMapFile(document);
  EXPECT_EQ(bytes[0], 0x45);
  EXPECT_EQ(bytes[1], 0x23);
  EXPECT_EQ(bytes[2], 0xFF);
  EXPECT_EQ(bytes[3], 0xFF);
}

TEST(MapFile, RoundTripKeepsOpaqueBytesAndReplacesConstants) {
  TempDir dir;
  const MapDocument original = SampleDocument();
  WriteMapFile(dir.file("a.map"), original);
  // Reserved bytes and trailer of a foreign file are not carried over.
  auto bytes = ReadBytes(dir.file("a.map"));
  bytes[6] = 0x77;
  bytes[12612] = 0x99;
  bytes.resize(20000, 0x55);
  WriteBytes(dir.file("foreign.map"), bytes);

  MapDocument loaded;
  ReadMapFile(dir.file("foreign.map"), loaded);
  EXPECT_EQ(loaded.header, original.header);
  EXPECT_EQ(loaded.grid, original.grid);
  WriteMapFile(dir.file("b.map"), loaded);
  EXPECT_EQ(ReadBytes(dir.file("b.map")), ReadBytes(dir.file("a.map")));
  EXPECT_EQ(std::filesystem::file_size(dir.file("b.map")), 14561u);
}

TEST(MapFileReader, FileLengths) {
  TempDir dir;
  WriteMapFile(dir.file("full.map"), SampleDocument());
  const auto full = ReadBytes(dir.file("full.map"));
  const struct {
    std::size_t length;
    int code;  // 0 = reads
  } cases[] = {{12610, 0}, {20000, 0}, {12609, kIoReadBeyondEnd}, {4, kIoReadBeyondEnd}, {0, kIoReadBeyondEnd}};
  for (const auto& c : cases) {
    auto bytes = full;
    bytes.resize(c.length, 0);
    WriteBytes(dir.file("cut.map"), bytes);
    MapDocument document;
    document.header = {1, 2, 3};
    document.grid.setRecord(5, 5, {9, 9, 9, 9, 9, 9, 9});
    const MapDocument before = document;
    try {
      ReadMapFile(dir.file("cut.map"), document);
      EXPECT_EQ(c.code, 0) << c.length;
      EXPECT_EQ(document.header, SampleDocument().header);
      EXPECT_EQ(document.grid, SampleDocument().grid);
    } catch (const IoError& error) {
      EXPECT_EQ(error.code(), c.code) << c.length;
      EXPECT_STREQ(error.what(), "Read beyond end of file");
      // All or nothing: a failed read leaves the document as it was.
      EXPECT_EQ(document.header, before.header) << c.length;
      EXPECT_EQ(document.grid, before.grid) << c.length;
    }
  }
}

TEST(MapFileReader, HeaderPhaseChangesOnlyTheHeader) {
  TempDir dir;
  WriteMapFile(dir.file("a.map"), SampleDocument());
  MapFileReader reader;
  MapDocument document;
  reader.readHeader(dir.file("a.map"), document.header);
  EXPECT_EQ(document.header, SampleDocument().header);
  EXPECT_EQ(document.grid, MapGrid{});
  reader.readGrid(document.grid);
  EXPECT_EQ(document.grid, SampleDocument().grid);
}

TEST(MapFileReader, ReadOnlyFileOpens) {
  TempDir dir;
  WriteMapFile(dir.file("ro.map"), SampleDocument());
  std::filesystem::permissions(dir.file("ro.map"), std::filesystem::perms::owner_read);
  MapDocument document;
  ReadMapFile(dir.file("ro.map"), document);
  EXPECT_EQ(document.header.mapNumber, 45);
}

TEST(MapFileErrors, MessagesAndCodes) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("folder.map"));
  const struct {
    std::string path;
    int code;
    const char* message;
  } cases[] = {
      {dir.file("missing.map"), 2, "File not found"},
      {dir.file("no-such-folder/a.map"), 3, "Invalid filename"},
      {dir.file("folder.map"), 3, "Invalid filename"},
  };
  for (const auto& c : cases) {
    MapDocument document;
    try {
      ReadMapFile(c.path, document);
      ADD_FAILURE() << c.path;
    } catch (const IoError& error) {
      EXPECT_EQ(error.code(), c.code) << c.path;
      EXPECT_STREQ(error.what(), c.message) << c.path;
    }
  }
}

TEST(MapFileWriter, FailedWritesKeepOldFileAndLeaveNoTemporary) {
  TempDir dir;
  const std::string target = dir.file("old.map");
  MapDocument oldDocument;
  oldDocument.header = {50, 20, 15};
  WriteMapFile(target, oldDocument);
  const auto oldBytes = ReadBytes(target);

  // Missing folder.
  try {
    WriteMapFile(dir.file("missing/x.map"), SampleDocument());
    ADD_FAILURE();
  } catch (const IoError& error) {
    EXPECT_EQ(error.code(), 3);
  }
#ifdef _WIN32
  GTEST_SKIP() << "POSIX permissions, the nobody user and a file size limit need fork";
#else

  // A file the user may not write, in a folder the user may not write.
  std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
  std::filesystem::permissions(target, std::filesystem::perms::owner_read | std::filesystem::perms::others_read);
  const int denied = test::RunInChild(
      [&] {
        try {
          WriteMapFile(target, SampleDocument());
          return 10;
        } catch (const IoError& error) {
          return error.code() == kIoAccessDenied && std::string(error.what()) == "File access denied" ? 0 : 11;
        }
      },
      /*dropRoot=*/true);
  EXPECT_EQ(denied, 0);
  std::filesystem::permissions(target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

  // The disk fills part way through the write.
  const int full = test::RunWithFileSizeLimit(4096, [&] {
    try {
      WriteMapFile(target, SampleDocument());
      return 10;
    } catch (const IoError& error) {
      return error.code() == kIoDiskFull && std::string(error.what()) == "Disk full" ? 0 : 11;
    }
  });
  EXPECT_EQ(full, 0);
  EXPECT_EQ(ReadBytes(target), oldBytes);
  EXPECT_EQ(test::ListFolder(dir.path()), std::vector<std::string>{"old.map"});
#endif
}

TEST(MapFileWriter, FolderWithoutWritePermission) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX permissions, the nobody user and a file size limit need fork";
#else
  TempDir dir;
  std::filesystem::create_directory(dir.file("locked"));
  std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
  std::filesystem::permissions(dir.file("locked"), std::filesystem::perms::all & ~std::filesystem::perms::others_write &
                                                        ~std::filesystem::perms::group_write);
  const int result = test::RunInChild(
      [&] {
        try {
          WriteMapFile(dir.file("locked/a.map"), SampleDocument());
          return 10;
        } catch (const IoError& error) {
          return error.code();
        }
      },
      /*dropRoot=*/true);
  EXPECT_EQ(result, kIoAccessDenied);
  EXPECT_TRUE(test::ListFolder(dir.file("locked")).empty());
#endif
}

}  // namespace
}  // namespace kxc2
