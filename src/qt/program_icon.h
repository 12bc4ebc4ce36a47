// The program's icon, a small runway chart, built into the program as a resource. Every window
// takes it from the application.
#pragma once

#include <QIcon>

namespace orv {

// The icon in its drawn sizes (48 and 256 pixels); smaller ones are scaled from them.
QIcon Program_Icon();

// Makes the icon the application's, so that every window shows it.
void Install_Program_Icon();

}  // namespace orv
