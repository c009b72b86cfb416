#include "editing/recovery_store.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <random>
#include <set>
#include <stdexcept>

#include "core/atomic_file.h"
#include "core/os_files.h"
#include "editing/lock_file.h"
#include "editing/settings_location.h"

namespace kxc2 {
namespace {

using Clock = std::chrono::system_clock;
using std::chrono::milliseconds;

const char* const kMapSuffix = ".map";
const char* const kNoteSuffix = ".json";
const char* const kLockSuffix = ".lock";
const char* const kUnreadableFolder = "unreadable";
const char* const kDamaged = "its note is damaged";

std::string FilePath(const std::string& folder, const std::string& id, const char* suffix) {
  return folder + kPathSeparator + id + suffix;
}

// As the Qt editor showed folders in its messages.
std::string Native(std::string path) {
  std::replace(path.begin(), path.end(), '/', kPathSeparator);
  return path;
}

// 32 lowercase hex digits of a random (version 4) UUID, as QUuid gave them.
std::string NewId() {
  std::random_device random;
  std::array<std::uint8_t, 16> bytes;
  for (auto& byte : bytes) byte = std::uint8_t(random());
  bytes[6] = std::uint8_t((bytes[6] & 0x0f) | 0x40);
  bytes[8] = std::uint8_t((bytes[8] & 0x3f) | 0x80);
  std::string id;
  for (const std::uint8_t byte : bytes) id += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15]};
  return id;
}

// ---- Dates without a time zone library ---------------------------------

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = yoe + era * 400 + (m <= 2);
}

int DaysInMonth(std::int64_t y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

std::string UtcText(Clock::time_point time) {
  const std::int64_t ms = std::chrono::floor<milliseconds>(time.time_since_epoch()).count();
  const std::int64_t day = (ms >= 0 ? ms : ms - 86399999) / 86400000;
  const std::int64_t inDay = ms - day * 86400000;
  std::int64_t y;
  int m, d;
  CivilFromDays(day, y, m, d);
  char text[40];
  std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02d.%03dZ", static_cast<long long>(y), m, d,
                int(inDay / 3600000), int(inDay / 60000 % 60), int(inDay / 1000 % 60), int(inDay % 1000));
  return text;
}

// The ISO forms QDateTime read: yyyy-MM-ddTHH:mm[:ss[.zzz]] then Z, an
// offset (+HH, +HHmm, +HH:mm) or nothing for local time.
std::optional<Clock::time_point> ParseTime(std::string_view text) {
  std::size_t at = 0;
  const auto number = [&](std::size_t digits, int& value) {
    if (text.size() < at + digits) return false;
    value = 0;
    for (std::size_t i = 0; i < digits; ++i, ++at) {
      if (text[at] < '0' || text[at] > '9') return false;
      value = value * 10 + (text[at] - '0');
    }
    return true;
  };
  const auto eat = [&](std::string_view chars) {
    if (at >= text.size() || chars.find(text[at]) == std::string_view::npos) return false;
    return ++at, true;
  };
  int y, m, d, hh, mm, ss = 0, ms = 0;
  if (!number(4, y) || !eat("-") || !number(2, m) || !eat("-") || !number(2, d) || !eat("T ") ||
      !number(2, hh) || !eat(":") || !number(2, mm))
    return std::nullopt;
  if (eat(":")) {
    if (!number(2, ss)) return std::nullopt;
    if (eat(".,")) {
      int scale = 100, digit;
      if (!number(1, digit)) return std::nullopt;
      for (ms = digit * scale; number(1, digit);) ms += digit * (scale /= 10);
    }
  }
  std::optional<int> offsetMinutes;
  if (eat("Zz")) {
    offsetMinutes = 0;
  } else if (at < text.size()) {
    const int sign = text[at] == '-' ? -1 : 1;
    int oh, om = 0;
    if (!eat("+-") || !number(2, oh)) return std::nullopt;
    if (at < text.size()) {
      eat(":");
      if (!number(2, om)) return std::nullopt;
    }
    offsetMinutes = sign * (oh * 60 + om);
  }
  const bool endOfDay = hh == 24 && mm == 0 && ss == 0 && ms == 0;  // midnight after the day
  if (at != text.size() || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m) || (hh > 23 && !endOfDay) ||
      mm > 59 || ss > 59)
    return std::nullopt;
  std::int64_t seconds;
  if (offsetMinutes) {
    seconds = DaysFromCivil(y, m, d) * 86400 + hh * 3600 + mm * 60 + ss - *offsetMinutes * 60;
  } else {
    std::tm local{};
    local.tm_year = y - 1900, local.tm_mon = m - 1, local.tm_mday = d;
    local.tm_hour = hh, local.tm_min = mm, local.tm_sec = ss, local.tm_isdst = -1;
    seconds = std::mktime(&local);
  }
  return Clock::time_point(std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(seconds) +
                                                                      milliseconds(ms)));
}

// ---- The note's JSON -----------------------------------------------------

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(c));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += char(code);
  } else if (code < 0x800) {
    out += {char(0xc0 | code >> 6), char(0x80 | (code & 0x3f))};
  } else if (code < 0x10000) {
    out += {char(0xe0 | code >> 12), char(0x80 | (code >> 6 & 0x3f)), char(0x80 | (code & 0x3f))};
  } else {
    out += {char(0xf0 | code >> 18), char(0x80 | (code >> 12 & 0x3f)), char(0x80 | (code >> 6 & 0x3f)),
            char(0x80 | (code & 0x3f))};
  }
}

// A JSON object whose values are all strings; anything else is damage.
class NoteReader {
 public:
  explicit NoteReader(std::string_view text) : text_(text) {
    if (text_.starts_with("\xef\xbb\xbf")) text_.remove_prefix(3);  // a byte order mark, as Qt allowed
  }

  std::vector<std::pair<std::string, std::string>> members() {
    std::vector<std::pair<std::string, std::string>> members;
    expect('{');
    if (!next('}')) {
      do {
        std::string key = string();
        expect(':');
        members.emplace_back(std::move(key), string());
      } while (next(','));
      expect('}');
    }
    skipBlanks();
    if (at_ != text_.size()) Damaged();
    return members;
  }

 private:
  [[noreturn]] static void Damaged() { throw std::runtime_error(kDamaged); }

  void skipBlanks() {
    while (at_ < text_.size() && std::string_view(" \t\n\r").find(text_[at_]) != std::string_view::npos) ++at_;
  }
  bool next(char c) {
    skipBlanks();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    return ++at_, true;
  }
  void expect(char c) {
    if (!next(c)) Damaged();
  }
  char take() {
    if (at_ >= text_.size()) Damaged();
    return text_[at_++];
  }
  std::uint32_t hex4() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = take();
      const int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
      if (digit < 0) Damaged();
      value = value * 16 + std::uint32_t(digit);
    }
    return value;
  }
  std::string string() {
    expect('"');
    std::string out;
    for (;;) {
      const char c = take();
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Damaged();
      if (c != '\\') {
        out += c;
        continue;
      }
      const char e = take();
      switch (e) {
        case '"': case '\\': case '/': out += e; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          std::uint32_t code = hex4();
          if (code >= 0xdc00 && code <= 0xdfff) Damaged();  // a second half alone
          if (code >= 0xd800 && code <= 0xdbff) {
            if (take() != '\\' || take() != 'u') Damaged();
            const std::uint32_t low = hex4();
            if (low < 0xdc00 || low > 0xdfff) Damaged();
            code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
          }
          AppendUtf8(out, code);
          break;
        }
        default: Damaged();
      }
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

RecoveryNote ReadNote(const std::string& path) {
  const ClosingDescriptor fd(OpenForReading(path));
  if (fd.get() < 0) throw std::runtime_error("its note cannot be opened");
  std::vector<std::uint8_t> bytes;
  if (!ReadToEnd(fd.get(), bytes)) throw std::runtime_error(kDamaged);
  return ParseRecoveryNote({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

}  // namespace

std::string RecoveryNoteBytes(const RecoveryNote& note) {
  std::string bytes = "{\n    \"source\": ";
  AppendQuoted(bytes, note.sourceFile);
  return bytes + ",\n    \"time\": \"" + UtcText(note.time) + "\"\n}\n";
}

RecoveryNote ParseRecoveryNote(std::string_view bytes) {
  std::optional<std::string> source, time;
  for (auto& [key, value] : NoteReader(bytes).members()) {
    if (key == "source") source = std::move(value);  // the last of a repeated key counts
    if (key == "time") time = std::move(value);
  }
  const auto parsed = time ? ParseTime(*time) : std::nullopt;
  if (!source || !parsed) throw std::runtime_error(kDamaged);
  return {*source, *parsed};
}

std::string LocalTimeText(Clock::time_point time) {
  const std::time_t seconds = Clock::to_time_t(std::chrono::floor<std::chrono::seconds>(time));
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  char text[40];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

// ---- This editor's copy -------------------------------------------------

RecoveryStore::RecoveryStore(std::string folder) : folder_(std::move(folder)), id_(NewId()) {}

RecoveryStore::~RecoveryStore() { remove(); }

// Where QStandardPaths put the Qt editor's local data, named KxC2Map.
std::string RecoveryStore::DefaultFolder() {
  return UserBaseFolder(UserFolderKind::Data) + kPathSeparator + "KxC2Map" + kPathSeparator + "recovery";
}

std::string RecoveryStore::mapPath() const { return FilePath(folder_, id_, kMapSuffix); }

void RecoveryStore::write(const MapDocument& document, const RecoveryNote& note) {
  write(EncodeMapFile(document), note);
}

void RecoveryStore::write(const std::array<std::uint8_t, kMapFileSize>& mapBytes, const RecoveryNote& note) {
  if (!lock_) {
    std::error_code error;
    std::filesystem::create_directories(FsPath(folder_), error);
    if (KindOf(folder_) != FileKind::Folder)
      throw std::runtime_error("the folder " + Native(folder_) + " cannot be made");
    lock_ = LockFile::TryLock(FilePath(folder_, id_, kLockSuffix));
    if (!lock_) throw std::runtime_error("the folder " + Native(folder_) + " cannot be written");
  }
  const std::string noteBytes = RecoveryNoteBytes(note);
  WriteFileAtomically(FilePath(folder_, id_, kNoteSuffix), noteBytes.data(), noteBytes.size());
  WriteFileAtomically(mapPath(), mapBytes.data(), mapBytes.size());
}

void RecoveryStore::remove() {
  if (!lock_) return;
  RemoveFile(mapPath());
  RemoveFile(FilePath(folder_, id_, kNoteSuffix));
  lock_.reset();  // releasing removes the lock file
}

// ---- Copies left behind -------------------------------------------------

AbandonedCopy::AbandonedCopy(std::string folder, std::string id, std::unique_ptr<LockFile> lock)
    : folder_(std::move(folder)), id_(std::move(id)), lock_(std::move(lock)) {}

AbandonedCopy::~AbandonedCopy() = default;

std::string AbandonedCopy::mapPath() const { return FilePath(folder_, id_, kMapSuffix); }
std::string AbandonedCopy::notePath() const { return FilePath(folder_, id_, kNoteSuffix); }

void AbandonedCopy::read(MapDocument& document, RecoveryNote& note) const {
  MapDocument copy;
  ReadMapFile(mapPath(), copy);
  note = ReadNote(notePath());
  document = copy;
}

void AbandonedCopy::remove() {
  RemoveFile(notePath());
  RemoveFile(mapPath());
}

std::string AbandonedCopy::keepAside() {
  const std::string aside = folder_ + kPathSeparator + kUnreadableFolder;
  MakeFolder(aside);
  for (const std::string& path : {mapPath(), notePath()})
    MoveOverFile(path, aside + kPathSeparator + path.substr(LastSeparator(path) + 1));
  return aside;
}

std::vector<std::unique_ptr<AbandonedCopy>> TakeAbandonedCopies(const std::string& folder) {
  std::set<std::string> ids;
  for (const std::string& name : FolderNames(folder)) {
    const std::size_t dot = name.rfind('.');
    if (name.starts_with('.') || dot == std::string::npos) continue;  // hidden, as QDir left them out
    const std::string suffix = name.substr(dot);
    if ((suffix == kMapSuffix || suffix == kNoteSuffix || suffix == kLockSuffix) &&
        KindOf(folder + kPathSeparator + name) == FileKind::Regular)
      ids.insert(name.substr(0, dot));
  }

  std::vector<std::unique_ptr<AbandonedCopy>> copies;
  for (const std::string& id : ids) {
    std::unique_ptr<LockFile> lock = LockFile::TryLock(FilePath(folder, id, kLockSuffix));
    if (!lock) continue;  // its editor runs
    auto copy = std::make_unique<AbandonedCopy>(folder, id, std::move(lock));
    if (KindOf(copy->mapPath()) != FileKind::Missing)
      copies.push_back(std::move(copy));
    else
      copy->remove();  // a crash before the first map was written: no work to offer
  }
  const auto modified = [](const AbandonedCopy& copy) {
    std::error_code error;
    return std::filesystem::last_write_time(FsPath(copy.mapPath()), error);
  };
  std::stable_sort(copies.begin(), copies.end(),
                   [&](const auto& a, const auto& b) { return modified(*a) > modified(*b); });
  return copies;
}

}  // namespace kxc2
