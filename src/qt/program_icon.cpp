#include "qt/program_icon.h"

#include <QApplication>
#include <QString>

namespace orv {

QIcon Program_Icon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/orvane_%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

void Install_Program_Icon() {
  QApplication::setWindowIcon(Program_Icon());
}

}  // namespace orv
