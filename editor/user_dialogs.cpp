#include "editor/user_dialogs.h"

namespace kxc2 {

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

}  // namespace kxc2
