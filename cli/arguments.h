#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kxc2::cli {

// Splits a subcommand's arguments into positionals, "--name VALUE" options
// and "--flag" switches. Unknown or incomplete options throw UsageError.
class Arguments {
 public:
  Arguments(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
            const std::set<std::string>& switches);

  const std::vector<std::string>& positionals() const { return positionals_; }
  std::optional<std::string> value(const std::string& name) const;
  // The option as a whole decimal number within [low, high]; UsageError otherwise.
  std::optional<long long> number(const std::string& name, long long low, long long high) const;
  bool has(const std::string& name) const { return switches_.count(name) != 0; }

 private:
  std::vector<std::string> positionals_;
  std::map<std::string, std::string> values_;
  std::set<std::string> switches_;
};

}  // namespace kxc2::cli
