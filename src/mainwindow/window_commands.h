#pragma once
// The header's links, the help page and the exit question.
#include <string>

namespace kx::mainwindow {

inline constexpr const char* kVendorSite = "https://www.korvendal.example";

std::string homePageAddress();
std::string contactPageAddress();
std::string helpPagePath(const std::string& programFolder);

// Opens a link through the desktop; nothing the desktop answers is shown.
void openLink(const std::string& target);

// Asks "Do you really want to exit the application?"; true on Yes.
bool userConfirmsExit();

}  // namespace kx::mainwindow
