#include "mainwindow/window_services.h"

#include "config/settings.h"
#include "errors/report_error.h"
#include "platform/filesystem.h"

#include <QCoreApplication>

namespace kx::mainwindow {

WindowServices programWindowServices()
{
    WindowServices services;
    services.settings = {&config::Launch, &config::PageRange, &config::RecentFolder, &config::RecentOutputFolder,
                         config::WriteIniValue};
    services.reportError = errors::ReportError;
    services.endProgram = [] { QCoreApplication::exit(0); };
    services.programFolder = platform::programFolder();
    services.workspaceFolder = platform::joinPath(services.programFolder, "temp");
    return services;
}

}  // namespace kx::mainwindow
