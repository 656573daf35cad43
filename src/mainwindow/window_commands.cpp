#include "mainwindow/window_commands.h"

#include "platform/filesystem.h"
#include "platform/ui.h"

namespace kx::mainwindow {

std::string homePageAddress() { return std::string(kVendorSite) + "/index.aspx"; }

std::string contactPageAddress() { return std::string(kVendorSite) + "/contactus.aspx?pg=1"; }

std::string helpPagePath(const std::string& programFolder)
{
    return platform::joinPath(programFolder, "help/KorvendalExcel.html");
}

void openLink(const std::string& target)
{
    try {
        platform::ui().openWithDesktop(target);
    } catch (...) {
        // A missing browser or help page is the desktop's business; the window stays as it was.
    }
}

bool userConfirmsExit()
{
    return platform::ui().showMessage({"Do you really want to exit the application?", platform::kApplicationTitle,
                                       platform::MessageIcon::Question, platform::MessageButtons::YesNo})
        == platform::MessageAnswer::Yes;
}

}  // namespace kx::mainwindow
