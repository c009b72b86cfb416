#include "bench/report/process_results.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <numeric>

namespace kxc2::bench {
namespace {

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
}

void WriteList(std::ofstream& out, const std::vector<double>& values) {
  out << '[';
  for (std::size_t k = 0; k < values.size(); ++k) out << (k ? ", " : "") << values[k];
  out << ']';
}

}  // namespace

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool WriteProcessJson(const std::string& path, const std::vector<ProcessTimes>& programs) {
  const std::string temp = path + ".part";
  std::ofstream out(temp);
  out << "{\n  \"results\": [\n";
  for (std::size_t i = 0; i < programs.size(); ++i) {
    const ProcessTimes& p = programs[i];
    const std::vector<double>& wall = p.wallSeconds;
    out << "    {\n      \"command\": " << Quoted(p.name)
        << ",\n      \"mean\": " << std::accumulate(wall.begin(), wall.end(), 0.0) / wall.size()
        << ",\n      \"median\": " << Median(wall) << ",\n      \"min\": " << *std::min_element(wall.begin(), wall.end())
        << ",\n      \"max\": " << *std::max_element(wall.begin(), wall.end()) << ",\n      \"times\": ";
    WriteList(out, wall);
    if (!p.cpuSeconds.empty()) {
      out << ",\n      \"median_cpu\": " << Median(p.cpuSeconds) << ",\n      \"cpu_times\": ";
      WriteList(out, p.cpuSeconds);
    }
    out << "\n    }" << (i + 1 < programs.size() ? "," : "") << "\n";
  }
  out << "  ]\n}\n";
  out.close();
  if (!out || std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace kxc2::bench
