#include "export/shp_conversion.h"

#include <bitset>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "core/ascii_case.h"
#include "core/game_paths.h"
#include "core/os_files.h"
#include "export/shp_file.h"
#include "export/shp_source_bitmap.h"

namespace kxc2 {

namespace {

constexpr const char* kUserMap = "UserMap";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string FileNameOf(const std::string& path) { return Utf8Path(FsPath(path).filename()); }

std::string UserMapFolder(const std::string& gameFolder) {
  return WithTrailingSeparator(ResolveNoCase(gameFolder, kUserMap));
}

// Deletes the old ShpFiles of every map number among the bitmaps, asking
// once per number; false as soon as an answer is not Yes.
bool ClearOldShpFiles(const std::vector<std::string>& bitmapPaths, const std::string& userMap,
                      const ShpConfirm& confirm) {
  std::bitset<100> handled;
  for (const std::string& path : bitmapPaths) {
    const std::optional<int> number = MapNumberOfFile(FileNameOf(path));
    if (!number || handled[*number]) continue;
    handled[*number] = true;
    const std::vector<std::string> old = MatchingFiles(userMap, ShpPatternForMap(*number));
    if (old.empty()) continue;
    if (!confirm(ShpOverwriteQuestion(*number))) return false;
    DeleteFilesQuietly(old);
  }
  return true;
}

void WriteOne(const std::string& bitmapPath, const std::string& target) {
  const IndexedBitmap bitmap = LoadBitmapForShp(bitmapPath);
  try {
    WriteShpFile(target, bitmap);
  } catch (const std::length_error&) {
    throw BitmapLoadError(Utf8Path(std::filesystem::absolute(FsPath(bitmapPath))) + " is too large for a SHP file");
  }
}

}  // namespace

std::optional<int> MapNumberOfFile(const std::string& fileName) {
  if (fileName.size() < 5) return std::nullopt;
  if (AsciiUpper(fileName[0]) != 'M' || AsciiUpper(fileName[1]) != 'A' || AsciiUpper(fileName[2]) != 'P')
    return std::nullopt;
  if (!IsDigit(fileName[3]) || !IsDigit(fileName[4])) return std::nullopt;
  return (fileName[3] - '0') * 10 + (fileName[4] - '0');
}

std::string ShpNameForBitmap(const std::string& bitmapPath) {
  const std::string name = FileNameOf(bitmapPath);
  return name.substr(0, name.find('.')) + ".shp";
}

std::string ShpPatternForMap(int mapNumber) {
  char text[32];
  std::snprintf(text, sizeof text, "Map%.2d*.shp", mapNumber);
  return text;
}

std::string ShpOverwriteQuestion(int mapNumber) {
  char text[96];
  std::snprintf(text, sizeof text,
                "One or more Map%.2d*.shp files already exist.  DELETE them and write new SHPs?", mapNumber);
  return text;
}

ShpConversionResult ConvertBitmapsToShp(const std::vector<std::string>& bitmapPaths, const std::string& gameFolder,
                                        const ShpConfirm& confirm, const ShpWritten& written) {
  const std::string userMap = UserMapFolder(gameFolder);
  ShpConversionResult result;
  if (!ClearOldShpFiles(bitmapPaths, userMap, confirm)) return result;
  for (const std::string& path : bitmapPaths) {
    // The game sees one file whatever the case, so an old one of another case is replaced, not doubled.
    const std::string target = ResolveNoCase(userMap, ShpNameForBitmap(path));
    WriteOne(path, target);
    result.written.push_back(target);
    if (written) written(target);
  }
  result.completed = true;
  return result;
}

}  // namespace kxc2
