#include "cli/arguments.h"

#include <charconv>

#include "cli/commands.h"

namespace kxc2::cli {

Arguments::Arguments(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                     const std::set<std::string>& switches) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      positionals_.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (valueOptions.count(arg)) {
      if (i + 1 >= args.size()) throw UsageError{"option '" + arg + "' needs a value"};
      values_[arg] = args[++i];
    } else if (switches.count(arg)) {
      switches_.insert(arg);
    } else {
      throw UsageError{"unknown option '" + arg + "'"};
    }
  }
}

std::optional<std::string> Arguments::value(const std::string& name) const {
  auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::optional<long long> Arguments::number(const std::string& name, long long low, long long high) const {
  auto text = value(name);
  if (!text) return std::nullopt;
  long long parsed = 0;
  const char* end = text->data() + text->size();
  auto [ptr, ec] = std::from_chars(text->data(), end, parsed);
  if (ec != std::errc() || ptr != end || parsed < low || parsed > high)
    throw UsageError{"option '" + name + "' needs a whole number from " + std::to_string(low) + " to " +
                     std::to_string(high) + ", not '" + *text + "'"};
  return parsed;
}

}  // namespace kxc2::cli
