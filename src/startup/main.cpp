#include "mainwindow/main_window.h"
#include "platform/qt/qt_user_interface.h"
#include "platform/qt/x11_windows.h"
#include "startup/run_folders.h"
#include "startup/splash.h"
#include "startup/startup.h"

#include <QApplication>

#include <memory>

// Command-line arguments are accepted and change nothing.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
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
    std::unique_ptr<kx::mainwindow::MainWindow> mainWindow;
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
