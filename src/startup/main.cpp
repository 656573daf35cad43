#include "mainwindow/main_window.h"
#include "platform/qt/qt_user_interface.h"
#include "platform/qt/x11_windows.h"
#include "platform/termination.h"
#include "startup/run_folders.h"
#include "startup/splash.h"
#include "startup/startup.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <memory>

int main(int, char** argv)
{
    // First, so that a request to end that comes during start-up waits for the event loop.
    const int terminationRequests = kx::platform::installTerminationRequests();
    // Started from a launcher, the program may write its reasons into a pipe nobody reads.
    std::signal(SIGPIPE, SIG_IGN);
    // Command-line arguments are accepted and change nothing: the toolkit sees the program name
    // alone, since its own options (-style, -reverse, -qwindowtitle, ...) would change the program.
    int toolkitArgumentCount = 1;
    char* toolkitArguments[] = { argv[0], nullptr };
    QApplication application(toolkitArgumentCount, toolkitArguments);
    // Lets the desktop show the installed menu entry's name and icon for the program's windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("korvendal-xl"));
    kx::platform::QtUserInterface userInterface;
    kx::platform::installUserInterface(&userInterface);
    std::unique_ptr<kx::platform::X11TopLevelWindows> desktopWindows;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        desktopWindows = std::make_unique<kx::platform::X11TopLevelWindows>();
        kx::platform::installTopLevelWindows(desktopWindows.get());
    }
    const kx::startup::RunFolders folders(kx::config::chooseProgramLayout(kx::config::currentLayoutFacts()));
    std::unique_ptr<QSocketNotifier> terminationNotifier;
    if (terminationRequests >= 0) {
        terminationNotifier = std::make_unique<QSocketNotifier>(terminationRequests, QSocketNotifier::Read);
        QObject::connect(terminationNotifier.get(), &QSocketNotifier::activated,
            [&folders] { kx::startup::endOnTerminationRequest(folders.workspace()); });
    }

    std::unique_ptr<kx::mainwindow::MainWindow> mainWindow;
    // A log-off or shutdown asks the exit question, as closing the window does.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, [&](QSessionManager& manager) {
        if (mainWindow && !mainWindow->agreeToSessionEnd(manager.allowsInteraction()))
            manager.cancel();
    });
    const auto services = kx::startup::programStartupServices([&] {
        kx::mainwindow::WindowServices windowServices = kx::mainwindow::programWindowServices();
        windowServices.programFolder = folders.filesFolder();
        windowServices.workspaceFolder = folders.workspace();
        mainWindow = std::make_unique<kx::mainwindow::MainWindow>(windowServices);
        mainWindow->show();
    });
    const std::unique_ptr<kx::startup::Splash> splash = kx::startup::Main(services);
    if (!splash)
        return 1;
    return application.exec();
}
