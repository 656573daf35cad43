#pragma once
// What --help and --version print.
#include <string>

namespace kx::cli {

std::string helpText();
std::string versionText();

}  // namespace kx::cli
