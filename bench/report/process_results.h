#pragma once

#include <string>
#include <vector>

namespace kxc2::bench {

// The times of one program over the runs of a timer; cpuSeconds stays empty
// where the timer cannot tell.
struct ProcessTimes {
  std::string name;
  std::vector<double> wallSeconds;
  std::vector<double> cpuSeconds;
};

double Median(std::vector<double> values);

// Writes the times as hyperfine's JSON export does ("command", "median",
// "times", ...), plus "median_cpu" and "cpu_times" where known; whole or not
// at all.
bool WriteProcessJson(const std::string& path, const std::vector<ProcessTimes>& programs);

}  // namespace kxc2::bench
