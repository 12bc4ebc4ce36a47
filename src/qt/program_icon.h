// The program's icon, a small runway chart, built into the program as a resource. Every window
// takes it from the application.
#pragma once

#include <QIcon>

namespace orv {

// The icon in all its drawn sizes (16 to 256 pixels).
QIcon Program_Icon();

// Makes the icon the application's, so that every window shows it.
void Install_Program_Icon();

}  // namespace orv
