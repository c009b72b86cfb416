// Any bytes as the settings file: the editor's one value reads the same
// before and after the file is written back, the written text is stable,
// and setting the value (as the first start does) reads back exactly.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "editing/ini_file.h"

namespace {

constexpr std::string_view kSection = "Locations";
constexpr std::string_view kKey = "KC2";

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  kxc2::IniFile file = kxc2::IniFile::Parse(input);
  const std::optional<std::string> value = file.value(kSection, kKey);
  const std::string fallback = "\x01no value\x02";
  Require(file.readString(kSection, kKey, fallback) == value.value_or(fallback));

  const std::string text = file.text();
  const kxc2::IniFile reread = kxc2::IniFile::Parse(text);
  Require(reread.value(kSection, kKey) == value);
  Require(reread.text() == text);

  const std::string folder = "D:\\Games\\K2\\";
  file.writeString(kSection, kKey, folder);
  Require(file.value(kSection, kKey) == folder);
  Require(kxc2::IniFile::Parse(file.text()).value(kSection, kKey) == folder);
  return 0;
}
