#include "mainwindow/main_window.h"

namespace kx::mainwindow {

// The Convert command lives here.
void MainWindow::cmdConvert_Click() {}

}  // namespace kx::mainwindow
