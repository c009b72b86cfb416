#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kxc2 {

// A sectioned key=value settings file as Windows programs write them.
// Values are raw text: backslashes, commas and semicolons stay as they are.
// Section and key names compare without regard to (ASCII) case. Lines that
// are neither sections nor keys (comments, blanks) are kept when the file is
// written back.
class IniFile {
 public:
  // Accepts LF or CR LF line ends and a UTF-8 byte order mark (kept by text()).
  static IniFile Parse(std::string_view text);
  // A missing or unreadable file reads as an empty one.
  static IniFile Load(const std::string& path);

  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  std::string readString(std::string_view section, std::string_view key,
                         const std::string& fallback) const;
  // Replaces the key's value, or adds the key (and its section) at the end.
  void writeString(std::string_view section, std::string_view key, std::string_view value);

  // The whole file, with CR LF line ends.
  std::string text() const;
  // Written safely: a failure leaves any old file as it was. Throws IoError.
  void save(const std::string& path) const;

 private:
  struct Line {
    enum class Kind { Other, Section, Key } kind = Kind::Other;
    std::string raw;   // the line as read, for Other lines
    std::string name;  // section or key name, trimmed
    std::string value; // key value
  };

  // Index of the section's header line, or lines_.size().
  std::size_t findSection(std::string_view section) const;
  // Index of the key's line within the section starting at sectionLine.
  std::optional<std::size_t> findKey(std::size_t sectionLine, std::string_view key) const;
  std::size_t sectionEnd(std::size_t sectionLine) const;

  std::vector<Line> lines_;
  // Written back as read: dropping it would let a second one at the start of
  // the first line be taken for the mark on the next read.
  bool byteOrderMark_ = false;
};

// Windows' way of writing one value: the file is read (if it exists), the
// key set and the file written back safely, which creates it.
void WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value);

}  // namespace kxc2
