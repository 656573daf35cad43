#pragma once
// Choosing the source workbook and the target PDF, adding the pair to the job list, and the
// open-after-conversion flag. The main window's handlers only move the results into its boxes.
#include "mainwindow/job_list.h"
#include "mainwindow/window_services.h"
#include "platform/ui.h"

#include <QString>

#include <cstdint>

namespace kx::mainwindow {

// True when the last four characters of `path`, in lower case, are `extension` (".xls", ".pdf").
bool hasExtension(const QString& path, const QString& extension);
// The target proposed for a source: the source without its last four characters, then ".pdf".
QString proposedTarget(const QString& source);

platform::FileDialogRequest sourceDialogRequest(const std::string& recentFolder, const std::string& programFolder);
platform::FileDialogRequest targetDialogRequest(const std::string& recentOutputFolder);

enum class Choice { Cancelled, Rejected, Accepted };

struct PathChoice {
    Choice outcome = Choice::Cancelled;
    QString path;
};

// Asks for the source workbook and remembers the choice, a rejected one included; a name not
// ending in ".xls" is refused with its message.
PathChoice chooseSource(const WindowServices& services);
// Asks for the target PDF; a name not ending in ".pdf" is refused with its message and not remembered.
PathChoice chooseTarget(const WindowServices& services);

enum class AddOutcome { NothingToAdd, Added, Refused };
// Adds the pair as a job row; a blank source is refused with "Please select a PDF File".
AddOutcome addPairToList(JobList& list, const QString& source, const QString& target);

// The open-after-conversion flag after its box was ticked or cleared.
std::int16_t launchAfterToggle(bool ticked, std::int16_t launch);

}  // namespace kx::mainwindow
