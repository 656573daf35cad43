#include "mainwindow/file_selection.h"

#include "mainwindow/guarded.h"
#include "platform/filesystem.h"

#include <optional>

namespace kx::mainwindow {
namespace {

constexpr const char* kSection = "SETTINGS";
// Both Browse commands report their failures under this one label.
constexpr const char* kBrowseLabel = "frmMain:cmdBrowse";
constexpr std::int16_t kLaunchWhenTicked = 2;

std::string folderPartOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Accepts `chosen` when it ends in `extension`, otherwise refuses it with `refusal`.
PathChoice judge(const std::string& chosen, const char* extension, const char* refusal)
{
    PathChoice choice{Choice::Accepted, QString::fromStdString(chosen)};
    if (!hasExtension(choice.path, QString::fromLatin1(extension))) {
        choice.outcome = Choice::Rejected;
        platform::ui().showMessage(
            {refusal, platform::kApplicationTitle, platform::MessageIcon::Critical, platform::MessageButtons::Ok});
    }
    return choice;
}

}  // namespace

bool hasExtension(const QString& path, const QString& extension)
{
    return path.right(4).toLower() == extension;
}

QString proposedTarget(const QString& source) { return source.left(source.size() - 4) + QStringLiteral(".pdf"); }

platform::FileDialogRequest sourceDialogRequest(const std::string& recentFolder, const std::string& programFolder)
{
    // The remembered source is the last chosen file; the dialog opens in its folder.
    std::string folder = recentFolder;
    if (!folder.empty() && !platform::folderExists(folder))
        folder = folderPartOf(folder);
    if (folder.empty())
        folder = programFolder;
    return {"Select Source File", "Microsoft Excel (*.xls)", folder, "", false};
}

platform::FileDialogRequest targetDialogRequest(const std::string& recentOutputFolder)
{
    return {"Save As", "PDF File (*.pdf)", folderPartOf(recentOutputFolder), "", true};
}

PathChoice chooseSource(const WindowServices& services)
{
    const SettingsLink& settings = services.settings;
    std::optional<std::string> chosen;
    PathChoice result;
    runSteps(services.reportError, kBrowseLabel,
             {[&] {
                  chosen = platform::ui().chooseFileToOpen(
                      sourceDialogRequest(*settings.recentFolder, services.programFolder));
                  return chosen.has_value();
              },
              [&] {
                  if (chosen)
                      *settings.recentFolder = *chosen;
                  return chosen.has_value();
              },
              [&] {
                  settings.writeIniValue(kSection, "PATH", *chosen);
                  return true;
              },
              [&] {
                  result = judge(*chosen, ".xls", "Invalid file selected. Please select valid Excel file only.");
                  return true;
              }},
             AfterFailure::AskReporter);
    return result;
}

PathChoice chooseTarget(const WindowServices& services)
{
    const SettingsLink& settings = services.settings;
    std::optional<std::string> chosen;
    PathChoice result;
    runSteps(services.reportError, kBrowseLabel,
             {[&] {
                  chosen = platform::ui().chooseFileToSave(targetDialogRequest(*settings.recentOutputFolder));
                  return chosen.has_value();
              },
              [&] {
                  if (!chosen)
                      return false;
                  result = judge(*chosen, ".pdf", "Invalid Output file. Please select valid PDF file.");
                  if (result.outcome == Choice::Accepted)
                      *settings.recentOutputFolder = *chosen;
                  return result.outcome == Choice::Accepted;
              },
              [&] {
                  settings.writeIniValue(kSection, "OUTPUTPATH", *chosen);
                  return true;
              }},
             AfterFailure::AskReporter);
    return result;
}

AddOutcome addPairToList(JobList& list, const QString& source, const QString& target)
{
    if (source.trimmed().isEmpty()) {
        platform::ui().showMessage({"Please select a PDF File", platform::kApplicationTitle,
                                    platform::MessageIcon::Information, platform::MessageButtons::Ok});
        return AddOutcome::NothingToAdd;
    }
    return AddCompleteListView(list, source, target) ? AddOutcome::Added : AddOutcome::Refused;
}

std::int16_t launchAfterToggle(bool ticked, std::int16_t launch)
{
    if (!ticked)
        return 0;
    return launch != 0 ? launch : kLaunchWhenTicked;
}

}  // namespace kx::mainwindow
