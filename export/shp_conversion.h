#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kxc2 {

// Asked once per map number whose old ShpFiles exist; true means Yes.
using ShpConfirm = std::function<bool(const std::string& question)>;
// Told the path of each ShpFile as soon as it is complete.
using ShpWritten = std::function<void(const std::string& path)>;

struct ShpConversionResult {
  // False when a question was answered other than Yes: nothing was converted.
  bool completed = false;
  std::vector<std::string> written;  // full paths, in the order converted
};

// The map number a file name carries: "MAP" in any case, then two digits.
std::optional<int> MapNumberOfFile(const std::string& fileName);

// The ShpFile name for a bitmap path: its file name cut before the first
// "." plus ".shp", case kept.
std::string ShpNameForBitmap(const std::string& bitmapPath);

// The wildcard that finds the ShpFiles of a map number, and the question
// asked before they are deleted.
std::string ShpPatternForMap(int mapNumber);
std::string ShpOverwriteQuestion(int mapNumber);

// Converts each bitmap into a ShpFile in gameFolder's UserMap folder. First,
// for each map number among the bitmaps whose ShpFiles already exist, asks
// confirm once and on Yes deletes them all (undeletable ones stay); any other
// answer ends the conversion before anything is converted. Then writes the
// files in the given order, each safely. Errors throw (BitmapLoadError,
// IoError) and end the conversion; files finished before stay.
ShpConversionResult ConvertBitmapsToShp(const std::vector<std::string>& bitmapPaths, const std::string& gameFolder,
                                        const ShpConfirm& confirm, const ShpWritten& written = {});

}  // namespace kxc2
