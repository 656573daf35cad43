#pragma once

namespace kx::mainwindow {

// The main window's title, also the caption of the job list's own message.
inline constexpr const char* kMainWindowTitle = "Korvendal - Excel to PDF Converter";

}  // namespace kx::mainwindow
