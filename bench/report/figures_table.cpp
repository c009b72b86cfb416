// The table of figures of one ./bench.sh run: each figure's median next to
// the floor measured in the same run, and their ratio.
//
// Usage: figures_table RESULTS_FOLDER OUT.md [NOTE]...
// The folder holds Google Benchmark's JSON output (one file per program) and
// hyperfine-style JSON of whole-process times. The table goes to standard
// output as plain text and to OUT.md as Markdown, followed by the notes.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

namespace {

// Medians of one benchmark, times in nanoseconds.
struct Medians {
  double realNs = 0;
  double cpuNs = 0;
  double bytesPerSecond = 0;
};

// Medians of one whole process, in seconds; CPU is 0 where not measured.
struct ProcessMedians {
  double wall = 0;
  double cpu = 0;
};

struct Results {
  std::map<QString, Medians> benchmarks;
  std::map<QString, ProcessMedians> processes;
};

double Nanoseconds(const QJsonObject& entry, const char* key) {
  const QString unit = entry.value(QStringLiteral("time_unit")).toString();
  const double scale = unit == QLatin1String("s") ? 1e9 : unit == QLatin1String("ms") ? 1e6 : unit == QLatin1String("us") ? 1e3 : 1;
  return entry.value(QLatin1String(key)).toDouble() * scale;
}

// The median aggregate where repetitions ran; a lone run stands for itself.
void ReadBenchmarks(const QJsonArray& entries, Results& results) {
  for (const QJsonValue& value : entries) {
    const QJsonObject entry = value.toObject();
    const bool aggregate = entry.value(QStringLiteral("run_type")).toString() == QLatin1String("aggregate");
    if (aggregate && entry.value(QStringLiteral("aggregate_name")).toString() != QLatin1String("median")) continue;
    const QString name = entry.value(QStringLiteral("run_name")).toString();
    if (!aggregate && results.benchmarks.count(name)) continue;
    results.benchmarks[name] = {Nanoseconds(entry, "real_time"), Nanoseconds(entry, "cpu_time"),
                                entry.value(QStringLiteral("bytes_per_second")).toDouble()};
  }
}

void ReadProcesses(const QJsonArray& entries, Results& results) {
  for (const QJsonValue& value : entries) {
    const QJsonObject entry = value.toObject();
    results.processes[entry.value(QStringLiteral("command")).toString()] = {
        entry.value(QStringLiteral("median")).toDouble(), entry.value(QStringLiteral("median_cpu")).toDouble()};
  }
}

Results ReadFolder(const QString& folder) {
  Results results;
  const QDir dir(folder);
  for (const QString& name : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    if (root.contains(QStringLiteral("benchmarks"))) ReadBenchmarks(root.value(QStringLiteral("benchmarks")).toArray(), results);
    if (root.contains(QStringLiteral("results"))) ReadProcesses(root.value(QStringLiteral("results")).toArray(), results);
  }
  return results;
}

// How a figure is read: a bench's wall-clock or CPU time, its bytes per
// second, or a whole process's wall-clock or CPU time.
enum class Kind { BenchWall, BenchCpu, BenchRate, Process, ProcessCpu };

// The goal: at most this ratio to the floor, or at most this time.
struct Goal {
  double maxRatio = 0;
  double maxSeconds = 0;
};

struct Row {
  const char* figure;
  Kind kind;
  const char* source;
  const char* floorSource;
  const char* floorName;
  Goal goal;
};

const Row kRows[] = {
    {"Map read", Kind::BenchWall, "BM_ReadMapFile", "BM_RawRead", "raw read of 14561 bytes", {2, 0}},
    {"Map write", Kind::BenchWall, "BM_WriteMapFile", "BM_RawWriteSyncRename",
     "raw write + fsync + rename", {2, 0}},
    {"Full view redraw, zoomed out", Kind::BenchCpu, "BM_RedrawViewZoomedOut", "BM_CopyWholePicture/0",
     "copy of a 616 x 475 picture", {0, 1e-3}},
    {"Full view redraw, zoomed in", Kind::BenchCpu, "BM_RedrawViewZoomedIn", "BM_CopyWholePicture/0",
     "copy of a 616 x 475 picture", {0, 1e-3}},
    {"Artwork Preview opening, busy 44 x 39", Kind::BenchWall, "BM_OpenPreviewOfBusyMap", "BM_PaintBusyPicture",
     "painting its picture alone", {0, 16.7e-3}},
    {"Artwork Preview update after one hex", Kind::BenchWall, "BM_UpdateAfterOneChangedHex",
     "BM_ShowTheSameAreaAgain", "showing the same area again", {0, 16.7e-3}},
    {"Painting a busy 44 x 39 map", Kind::BenchWall, "BM_PaintAndSaveFifteenPieces", "BM_SaveFifteenPieces",
     "saving its 15 pieces", {2, 0}},
    {"SHP encoder, busy map rows", Kind::BenchRate, "BM_EncodeBusyMapRows", "BM_MemcpyBusyMapRows",
     "memcpy of the same rows", {10, 0}},
    {"SHP encoder, random rows", Kind::BenchRate, "BM_EncodeRandomRows", "BM_MemcpyRandomRows",
     "memcpy of the same rows", {10, 0}},
    {"SHP conversion of 15 pieces", Kind::BenchWall, "BM_ConvertFifteenPieces", "BM_IoFloorFifteenPieces",
     "read the BMPs, write as many bytes", {2, 0}},
    {"Editor start-up to first window", Kind::Process, "KxC2Map", "empty QMainWindow",
     "empty QMainWindow shown", {0, 0}},
    {"kxc2tool paint (whole process)", Kind::Process, "kxc2tool paint", "kxc2tool --version",
     "kxc2tool --version", {0, 0}},
    {"kxc2tool shp (whole process)", Kind::Process, "kxc2tool shp", "kxc2tool --version", "kxc2tool --version",
     {0, 0}},
    {"kxc2tool --version (whole process)", Kind::Process, "kxc2tool --version", "one-line C++ program",
     "C++ program printing one line", {1.5, 0}},
    {"kxc2tool --version (whole process)", Kind::ProcessCpu, "kxc2tool --version", "one-line C++ program",
     "C++ program printing one line", {1.5, 0}},
    {"kxc2tool shp of 15 pieces", Kind::Process, "kxc2tool shp", "mogrify -compress RLE",
     "mogrify -compress RLE, same files", {0.5, 0}},
    {"kxc2tool shp of 15 pieces", Kind::ProcessCpu, "kxc2tool shp", "mogrify -compress RLE",
     "mogrify -compress RLE, same files", {0.5, 0}},
    {"kxc2tool shp of 15 pieces", Kind::Process, "kxc2tool shp", "I/O floor, safe write",
     "read the BMPs, write as many bytes safely", {2, 0}},
    {"kxc2tool shp of 15 pieces", Kind::ProcessCpu, "kxc2tool shp", "I/O floor, safe write",
     "read the BMPs, write as many bytes safely", {2, 0}},
    {"kxc2tool shp of 15 pieces", Kind::Process, "kxc2tool shp", "I/O floor, plain write",
     "the same, written in place, no fsync", {0, 0}},
};

QString Time(double seconds) {
  const double a = std::fabs(seconds);
  if (a >= 1) return QString::number(seconds, 'f', 2) + QStringLiteral(" s");
  if (a >= 1e-3) return QString::number(seconds * 1e3, 'f', a >= 0.1 ? 0 : a >= 0.01 ? 1 : 2) + QStringLiteral(" ms");
  if (a >= 1e-6) return QString::number(seconds * 1e6, 'f', a >= 1e-4 ? 0 : a >= 1e-5 ? 1 : 2) + QStringLiteral(" us");
  return QString::number(seconds * 1e9, 'f', 1) + QStringLiteral(" ns");
}

QString Rate(double bytesPerSecond) {
  return QString::number(bytesPerSecond / 1e6, 'f', 0) + QStringLiteral(" MB/s");
}

// A figure as seconds (or bytes per second for a rate).
std::optional<double> Value(const Results& results, Kind kind, const char* source) {
  if (kind == Kind::Process || kind == Kind::ProcessCpu) {
    const auto found = results.processes.find(QString::fromUtf8(source));
    if (found == results.processes.end()) return std::nullopt;
    return kind == Kind::Process ? found->second.wall : found->second.cpu;
  }
  const auto found = results.benchmarks.find(QString::fromUtf8(source));
  if (found == results.benchmarks.end()) return std::nullopt;
  switch (kind) {
    case Kind::BenchWall: return found->second.realNs * 1e-9;
    case Kind::BenchCpu: return found->second.cpuNs * 1e-9;
    default: return found->second.bytesPerSecond;
  }
}

QString Clock(Kind kind) {
  switch (kind) {
    case Kind::BenchCpu:
    case Kind::ProcessCpu: return QStringLiteral("CPU");
    case Kind::BenchRate: return QStringLiteral("CPU, MB/s");
    default: return QStringLiteral("wall");
  }
}

QString GoalText(const Goal& goal, Kind kind) {
  if (goal.maxSeconds > 0) return QStringLiteral("<= ") + Time(goal.maxSeconds);
  if (goal.maxRatio > 0 && kind == Kind::BenchRate)
    return QStringLiteral(">= 1/") + QString::number(goal.maxRatio) + QStringLiteral(" of floor");
  if (goal.maxRatio > 0) return QStringLiteral("<= ") + QString::number(goal.maxRatio) + QStringLiteral("x");
  return QStringLiteral("-");
}

using Cells = QStringList;

Cells TableRow(const Results& results, const Row& row) {
  const auto figure = Value(results, row.kind, row.source);
  const auto floor = Value(results, row.kind, row.floorSource);
  const QString figureName = QString::fromUtf8(row.figure);
  const QString floorName = QString::fromUtf8(row.floorName);
  if (!figure || !floor || *figure <= 0 || *floor <= 0)
    return {figureName, Clock(row.kind), QStringLiteral("not measured"), floorName, QStringLiteral("-"),
            QStringLiteral("-"), GoalText(row.goal, row.kind), QStringLiteral("-")};
  const bool rate = row.kind == Kind::BenchRate;
  // How many times the floor's cost the figure costs: for rates, the
  // floor's speed over the figure's.
  const double ratio = rate ? *floor / *figure : *figure / *floor;
  QString met = QStringLiteral("-");
  if (row.goal.maxSeconds > 0) met = *figure <= row.goal.maxSeconds ? QStringLiteral("yes") : QStringLiteral("NO");
  if (row.goal.maxRatio > 0) met = ratio <= row.goal.maxRatio ? QStringLiteral("yes") : QStringLiteral("NO");
  return {figureName,
          Clock(row.kind),
          rate ? Rate(*figure) : Time(*figure),
          floorName,
          rate ? Rate(*floor) : Time(*floor),
          QString::number(ratio, 'f', ratio < 10 ? 2 : 1) + QStringLiteral("x"),
          GoalText(row.goal, row.kind),
          met};
}

const Cells kHeader = {QStringLiteral("Figure"),      QStringLiteral("Clock"), QStringLiteral("Median"),
                       QStringLiteral("Floor"),       QStringLiteral("Floor median"),
                       QStringLiteral("Ratio"),       QStringLiteral("Goal"),  QStringLiteral("Met")};

// Columns holding numbers are aligned to the right.
bool Numeric(int column) { return column == 2 || column == 4 || column == 5; }

QString PlainText(const std::vector<Cells>& rows) {
  std::vector<int> widths(kHeader.size(), 0);
  for (const Cells& row : rows)
    for (int i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], static_cast<int>(row[i].size()));
  QString text;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    QStringList cells;
    for (int i = 0; i < rows[r].size(); ++i)
      cells << (Numeric(i) ? rows[r][i].rightJustified(widths[i]) : rows[r][i].leftJustified(widths[i]));
    text += cells.join(QStringLiteral("  ")).trimmed() + QLatin1Char('\n');
    if (r == 0) {
      QStringList rules;
      for (int width : widths) rules << QString(width, QLatin1Char('-'));
      text += rules.join(QStringLiteral("  ")) + QLatin1Char('\n');
    }
  }
  return text;
}

QString Markdown(const std::vector<Cells>& rows) {
  QString text;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    text += QStringLiteral("| ") + rows[r].join(QStringLiteral(" | ")) + QStringLiteral(" |\n");
    if (r == 0) {
      QStringList rules;
      for (int i = 0; i < rows[r].size(); ++i) rules << (Numeric(i) ? QStringLiteral("---:") : QStringLiteral("---"));
      text += QStringLiteral("| ") + rules.join(QStringLiteral(" | ")) + QStringLiteral(" |\n");
    }
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("Usage: figures_table RESULTS_FOLDER OUT.md [NOTE]...\n", stderr);
    return 2;
  }
  const Results results = ReadFolder(QString::fromLocal8Bit(argv[1]));
  std::vector<Cells> rows{kHeader};
  for (const Row& row : kRows) rows.push_back(TableRow(results, row));
  QStringList notes;
  for (int i = 3; i < argc; ++i) notes << QString::fromLocal8Bit(argv[i]);

  QString plain = PlainText(rows);
  QString markdown = Markdown(rows);
  if (!notes.isEmpty()) {
    plain += QLatin1Char('\n') + notes.join(QLatin1Char('\n')) + QLatin1Char('\n');
    markdown += QLatin1Char('\n');
    for (const QString& note : notes) markdown += QStringLiteral("- ") + note + QLatin1Char('\n');
  }
  std::fputs(plain.toUtf8().constData(), stdout);

  QSaveFile out(QString::fromLocal8Bit(argv[2]));
  if (!out.open(QIODevice::WriteOnly) || out.write(markdown.toUtf8()) < 0 || !out.commit()) {
    std::fprintf(stderr, "figures_table: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
