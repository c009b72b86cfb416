#include "tests/hardening/command_faults.h"

#include "tests/hardening/fault_support.h"
#include "tests/support/child_process.h"

namespace kxc2::test {

Report RunWithFault(Fault fault, long sizeLimit, const std::function<Report()>& body) {
  ChildReport report;
  const auto child = [&] {
    report.put(body());
    return 0;
  };
  int code = -1;
  switch (fault) {
    case Fault::DiskFull: code = RunWithFileSizeLimit(sizeLimit, child); break;
    case Fault::ReadOnlyFolder: code = AsNobody(child); break;
    case Fault::None:
    case Fault::MissingFolder: code = RunInChild(child); break;
  }
  Report values = report.values();
  values["exit"] = std::to_string(code);
  return values;
}

Report RunFaultyCommand(Fault fault, long sizeLimit, const TForm1& form, const ScriptedDialogs& dialogs,
                        const std::function<void()>& command) {
  return RunWithFault(fault, sizeLimit, [&] {
    command();
    Report values = EditorState(form);
    values.merge(DialogLog(dialogs));
    return values;
  });
}


}  // namespace kxc2::test
