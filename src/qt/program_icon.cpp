#include "qt/program_icon.h"

#include <QApplication>
#include <QString>

namespace orv {

QIcon Program_Icon() {
  QIcon icon;
  for (int size : {48, 256}) {
    icon.addFile(QStringLiteral(":/icons/orvane-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

void Install_Program_Icon() {
  QApplication::setWindowIcon(Program_Icon());
}

}  // namespace orv
