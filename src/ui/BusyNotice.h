// A notice that appears the moment the mouse button goes down on a command, before the command's
// click runs its long work, and is hidden again when its window closes.
#pragma once

#include <QWidget>

namespace BusyNotice {

void install(QWidget* command, QWidget* notice, QWidget* window);

} // namespace BusyNotice
