#include "editing/ini_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/ascii_case.h"
#include "core/atomic_file.h"

namespace kxc2 {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

// Windows drops one pair of matching quotes around a value.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

std::string KeyLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line += '=';
  line += value;
  return line;
}

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
  IniFile file;
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    text.remove_prefix(kUtf8Bom.size());
    file.byteOrderMark_ = true;
  }
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

    Line line;
    line.raw = std::string(raw);
    const std::string_view trimmed = Trim(raw);
    if (!trimmed.empty() && trimmed.front() == '[') {
      line.kind = Line::Kind::Section;
      line.name = std::string(Trim(trimmed.substr(1, trimmed.find(']') - 1)));
    } else if (!trimmed.empty() && trimmed.front() != ';' && trimmed.find('=') != std::string_view::npos) {
      const auto equals = trimmed.find('=');
      line.kind = Line::Kind::Key;
      line.name = std::string(Trim(trimmed.substr(0, equals)));
      line.value = std::string(Unquote(Trim(trimmed.substr(equals + 1))));
    }
    file.lines_.push_back(std::move(line));
  }
  return file;
}

IniFile IniFile::Load(const std::string& path) {
  // A folder opens as a stream here and then fails to read with an exception.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  try {
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return Parse(text);
  } catch (const std::ios_base::failure&) {
    return {};
  }
}

std::size_t IniFile::findSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Line::Kind::Section && SameName(lines_[i].name, section)) return i;
  return lines_.size();
}

std::size_t IniFile::sectionEnd(std::size_t sectionLine) const {
  std::size_t i = sectionLine + 1;
  while (i < lines_.size() && lines_[i].kind != Line::Kind::Section) ++i;
  return i;
}

std::optional<std::size_t> IniFile::findKey(std::size_t sectionLine, std::string_view key) const {
  const std::size_t end = sectionEnd(sectionLine);
  for (std::size_t i = sectionLine + 1; i < end; ++i)
    if (lines_[i].kind == Line::Kind::Key && SameName(lines_[i].name, key)) return i;
  return std::nullopt;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  const std::size_t sectionLine = findSection(section);
  if (sectionLine == lines_.size()) return std::nullopt;
  const auto keyLine = findKey(sectionLine, key);
  if (!keyLine) return std::nullopt;
  return lines_[*keyLine].value;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                const std::string& fallback) const {
  return value(section, key).value_or(fallback);
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  Line keyLine{Line::Kind::Key, KeyLine(key, value), std::string(key), std::string(value)};
  const std::size_t sectionLine = findSection(section);
  if (sectionLine == lines_.size()) {
    // Appended: GCC 12 warns wrongly on "[" + string at -O2 (the Windows build).
    Line header{Line::Kind::Section, std::string("[").append(section).append("]"), std::string(section), {}};
    lines_.push_back(std::move(header));
    lines_.push_back(std::move(keyLine));
    return;
  }
  if (const auto existing = findKey(sectionLine, key)) {
    keyLine.name = lines_[*existing].name;
    keyLine.raw = KeyLine(keyLine.name, value);
    lines_[*existing] = std::move(keyLine);
    return;
  }
  // After the section's last non-blank line, so blank separators stay below it.
  std::size_t insertAt = sectionEnd(sectionLine);
  while (insertAt > sectionLine + 1 && Trim(lines_[insertAt - 1].raw).empty()) --insertAt;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(keyLine));
}

std::string IniFile::text() const {
  std::string out(byteOrderMark_ ? kUtf8Bom : std::string_view());
  for (const Line& line : lines_) {
    out += line.raw;
    out += "\r\n";
  }
  return out;
}

void IniFile::save(const std::string& path) const {
  const std::string content = text();
  WriteFileAtomically(path, content.data(), content.size());
}

void WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value) {
  IniFile file = IniFile::Load(path);
  file.writeString(section, key, value);
  file.save(path);
}

}  // namespace kxc2
