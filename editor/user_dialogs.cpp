#include "editor/user_dialogs.h"

namespace kxc2 {

QString ErrorBoxText(const QString& message) {
  return QString::fromStdString(ErrorBoxText(message.toStdString()));
}

}  // namespace kxc2
