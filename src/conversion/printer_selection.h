#pragma once
// Which PostScript printer a job expects on the running system, whether it is installed, and
// the user's application printer kept as it was around the print.
#include <functional>
#include <string>
#include <vector>

#include "conversion/automation.h"
#include "platform/system_version.h"

namespace kx::conversion {

// Every print goes through this queue.
inline constexpr const char* kPrinterQueue = "Korvendal";
// The queue older systems were told to install under its driver's default name.
inline constexpr const char* kDriverDefaultPrinter = "HP Color LaserJet 5/5M PS";
// Installed printer queues are the subkeys of this key of the machine store.
inline constexpr const char* kPrintersKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";

// The system version label of a version record: "95", "98", "ME", "3.51", "4.0", "2000",
// "WinXP/.NET Server", "" (a known family, an unknown version) or "Failed" (an unknown family).
// Linux counts as the newest system the labels know, "WinXP/.NET Server".
std::string versionLabel(const platform::VersionRecord& record);

// The label of the running system. A failure of the probe goes to the error reporter and gives "".
std::string GetOSVersion();
std::string GetOSVersion(const std::function<platform::VersionRecord()>& probe);

// The names of the installed printer queues, in the machine store's order.
std::vector<std::string> InstalledPrinters();

// The queue name a label looks for; labels of no known group look for the current printer.
std::string targetPrinterName(const std::string& label, const std::string& activePrinter);

enum class PrinterCheck { GoOn, Stop };

// Looks for the label's queue among `installedPrinters` (exact names, case counts) and tells the
// user what is missing: older systems without their driver stop the job, labels of no known
// group get a warning on every job and go on, the newer systems always go on silently.
PrinterCheck CheckPrinter(const std::string& label, const std::string& activePrinter,
                          const std::vector<std::string>& installedPrinters);
// The same for the running system, the application's current printer and the installed queues.
PrinterCheck CheckPrinter(automation::Application& excel);

// The application's printer, read before the page set-up and written back right after the print.
std::string SaveActivePrinter(automation::Application& excel);
void RestoreActivePrinter(automation::Application& excel, const std::string& savedPrinter);

}  // namespace kx::conversion
