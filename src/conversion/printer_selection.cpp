#include "conversion/printer_selection.h"

#include <algorithm>

#include "config/registry.h"
#include "errors/failure.h"
#include "platform/ui.h"

namespace kx::conversion {
namespace {

constexpr const char* kVersionProbeLabel = "modSettings : Main()";
constexpr const char* kMessageTitle = "Korvendal";
constexpr const char* kInstallDriverPiece = "Please install 'HP Color LaserJet 5/5M PS' ";

const char* const kWindowsXpLabel = "WinXP/.NET Server";

bool isOneOf(const std::string& label, std::initializer_list<const char*> labels)
{
    return std::any_of(labels.begin(), labels.end(), [&](const char* candidate) { return label == candidate; });
}

// Systems whose printers come from the driver disk, and the newer ones with the program's own queue.
bool isDriverDiskGroup(const std::string& label) { return isOneOf(label, {"95", "98", "ME", "4.0"}); }
bool isOwnQueueGroup(const std::string& label) { return isOneOf(label, {"2000", kWindowsXpLabel, "2003"}); }

std::string windows9xLabel(std::uint32_t minor)
{
    switch (minor) {
    case 0: return "95";
    case 10: return "98";
    case 90: return "ME";
    default: return "";
    }
}

std::string windowsNtLabel(std::uint32_t major, std::uint32_t minor)
{
    if (major == 3)
        return "3.51";
    if (major == 4)
        return "4.0";
    if (major == 5 && minor == 0)
        return "2000";
    if (major == 5 && minor == 1)
        return kWindowsXpLabel;
    return "";
}

void tell(const std::string& text)
{
    platform::Message message;
    message.text = text;
    message.title = kMessageTitle;
    message.icon = platform::MessageIcon::None;
    message.buttons = platform::MessageButtons::Ok;
    platform::ui().showMessage(message);
}

}  // namespace

std::string versionLabel(const platform::VersionRecord& record)
{
    switch (record.platformId) {
    case platform::kWindows9xPlatform: return windows9xLabel(record.minor);
    case platform::kWindowsNtPlatform: return windowsNtLabel(record.major, record.minor);
    case platform::kLinuxPlatform: return kWindowsXpLabel;
    default: return "Failed";
    }
}

std::string GetOSVersion() { return GetOSVersion(platform::systemVersionRecord); }

std::string GetOSVersion(const std::function<platform::VersionRecord()>& probe)
{
    std::string label;
    try {
        label = versionLabel(probe());
    } catch (...) {
        errors::reportCurrentFailure(kVersionProbeLabel);
    }
    return label;
}

std::vector<std::string> InstalledPrinters()
{
    return config::registrySubkeys(config::RegistryRoot::LocalMachine, kPrintersKey);
}

std::string targetPrinterName(const std::string& label, const std::string& activePrinter)
{
    if (isDriverDiskGroup(label))
        return kDriverDefaultPrinter;
    if (isOwnQueueGroup(label))
        return kPrinterQueue;
    return activePrinter;
}

PrinterCheck CheckPrinter(const std::string& label, const std::string& activePrinter,
                          const std::vector<std::string>& installedPrinters)
{
    const std::string target = targetPrinterName(label, activePrinter);
    const bool found = std::find(installedPrinters.begin(), installedPrinters.end(), target) != installedPrinters.end();
    if (isOwnQueueGroup(label))
        return PrinterCheck::GoOn;
    if (!isDriverDiskGroup(label)) {
        tell("NO PostScript Printer Driver Found.");
        return PrinterCheck::GoOn;
    }
    if (found)
        return PrinterCheck::GoOn;
    tell(std::string(kInstallDriverPiece)
         + (label == "98" ? "printer driver with all default name from Windows CD."
                          : "printer driver with default name from Windows CD."));
    return PrinterCheck::Stop;
}

PrinterCheck CheckPrinter(automation::Application& excel)
{
    const std::string label = GetOSVersion();
    return CheckPrinter(label, excel.activePrinter(), InstalledPrinters());
}

std::string SaveActivePrinter(automation::Application& excel) { return excel.activePrinter(); }

void RestoreActivePrinter(automation::Application& excel, const std::string& savedPrinter)
{
    excel.setActivePrinter(savedPrinter);
}

}  // namespace kx::conversion
