// Linked into the fuzzers that read bitmaps through Qt. Its BMP reader warns
// about odd colour tables and every bad seek; millions of those lines would
// bury a finding in the log and slow the runs down.
#include <QtGlobal>

namespace {

void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qInstallMessageHandler(Quiet);
  return 0;
}
