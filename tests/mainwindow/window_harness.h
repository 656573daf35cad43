#pragma once
// The real main window over recorded settings, error reporter and program end, with message
// boxes and file dialogs answered by the scripted user interface.
#include "../support/fake_user_interface.h"
#include "mainwindow/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <array>
#include <functional>
#include <memory>
#include <stdexcept>

namespace kx::testing {

struct Reported {
    std::int32_t code;
    std::string description;
    std::string source;
};

class WindowHarness {
public:
    FakeUserInterface ui;
    std::int16_t launch = 1;
    std::string pageRange = "1";
    std::string recentFolder = "/program";
    std::string recentOutputFolder = "/program";
    std::vector<std::array<std::string, 3>> writes;
    std::vector<Reported> reported;
    bool reporterLetsCarryOn = true;
    bool failSettingsWrites = false;
    int endRequests = 0;
    std::unique_ptr<mainwindow::MainWindow> window;

    mainwindow::WindowServices services()
    {
        mainwindow::WindowServices services;
        services.settings = {&launch, &pageRange, &recentFolder, &recentOutputFolder,
                             [this](const std::string& section, const std::string& key, const std::string& value) {
                                 if (failSettingsWrites)
                                     throw std::runtime_error("Permission denied");
                                 writes.push_back({section, key, value});
                                 return true;
                             }};
        services.reportError = [this](std::int32_t code, const std::string& description, const std::string& source) {
            reported.push_back({code, description, source});
            return reporterLetsCarryOn;
        };
        services.endProgram = [this] { ++endRequests; };
        services.programFolder = "/program";
        services.workspaceFolder = "/program/temp";
        return services;
    }

    mainwindow::MainWindow& open()
    {
        window = std::make_unique<mainwindow::MainWindow>(services());
        window->show();
        window->activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(window.get());
        return *window;
    }

    const mainwindow::MainWindowControls& c() const { return window->controls(); }

    static void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    static void type(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        QTest::keyClicks(box, text);
    }

    QStringList fileNames() const
    {
        QStringList names;
        for (int i = 0; i < c().lvwGeneral->topLevelItemCount(); ++i)
            names << c().lvwGeneral->topLevelItem(i)->text(0);
        return names;
    }

    std::vector<std::string> messageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : ui.messages)
            texts.push_back(message.text);
        return texts;
    }
};

}  // namespace kx::testing
