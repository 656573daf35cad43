#include "platform/qt/qt_user_interface.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <set>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kx::testing {
namespace {

using platform::FileDialogRequest;

// Waits for a modal window other than `current` to come up and hands it to `answer`.
void whenModalAppears(std::function<void(QWidget*)> answer, QWidget* current = nullptr)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, current, answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != current) {
            poll->deleteLater();
            poll->stop();
            answer(modal);
        }
    });
    poll->start(10);
}

void pressButton(QWidget* modal, QMessageBox::StandardButton which)
{
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    box->button(which)->click();
}

TEST(QtDialogs, MessageBoxShowsTextCaptionAndIconAndReportsTheAnswer)
{
    platform::QtUserInterface ui;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenModalAppears([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        pressButton(modal, QMessageBox::Yes);
    });
    const auto answer = ui.showMessage({"Do you really want to exit the application?", "Korvendal XL",
                                        platform::MessageIcon::Question, platform::MessageButtons::YesNo});
    EXPECT_EQ(answer, platform::MessageAnswer::Yes);
    EXPECT_EQ(text, "Do you really want to exit the application?");
    EXPECT_EQ(title, "Korvendal XL");
    EXPECT_EQ(icon, QMessageBox::Question);

    whenModalAppears([](QWidget* modal) { pressButton(modal, QMessageBox::No); });
    EXPECT_EQ(ui.showMessage({"?", "t", platform::MessageIcon::Question, platform::MessageButtons::YesNo}),
              platform::MessageAnswer::No);
}

TEST(QtPointer, TheBusyPointerIsTheWindowsAloneSoMessageBoxesKeepTheNormalOne)
{
    QWidget window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    platform::QtUserInterface ui;
    ui.showBusyPointer();
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
    const QCursor* overAll = QApplication::overrideCursor();
    EXPECT_EQ(overAll, nullptr) << "the whole program shows the busy pointer";
    Qt::CursorShape inBox = Qt::BlankCursor;
    whenModalAppears([&](QWidget* modal) {
        inBox = modal->cursor().shape();
        pressButton(modal, QMessageBox::Ok);
    });
    ui.showMessage({"Failed to create PDF.", "Korvendal", platform::MessageIcon::Critical});
    EXPECT_EQ(inBox, Qt::ArrowCursor);
    ui.restoreDefaultPointer();
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

class QtFileDialogs : public ::testing::Test {
protected:
    QString inFolder(const QString& name) const { return folder.path() + "/" + name; }

    // Shows the dialog, types `name` into it and presses its accept button.
    std::optional<std::string> choose(bool save, const QString& name, std::function<void(QWidget*)> thenAnswer = {})
    {
        whenModalAppears([&, name, thenAnswer](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            seenTitle = dialog->windowTitle();
            seenFolder = dialog->directory().absolutePath();
            seenFilters = dialog->nameFilters();
            // Typed into the name box as a user would.
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
            if (thenAnswer)
                whenModalAppears(thenAnswer, dialog);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        const FileDialogRequest request{"Select Source File", "Microsoft Excel (*.xls)",
                                        folder.path().toStdString(), "", save};
        return save ? ui.chooseFileToSave(request) : ui.chooseFileToOpen(request);
    }

    QTemporaryDir folder;
    platform::QtUserInterface ui;
    QString seenTitle, seenFolder;
    QStringList seenFilters;
};

TEST_F(QtFileDialogs, OpenAcceptsAFileThatDoesNotExistInAnExistingFolder)
{
    const auto chosen = choose(false, inFolder("New Book.xls"));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(QString::fromStdString(*chosen), inFolder("New Book.xls"));
    EXPECT_EQ(seenTitle, "Select Source File");
    EXPECT_EQ(seenFolder, folder.path());
    EXPECT_EQ(seenFilters, QStringList{"Microsoft Excel (*.xls)"});
}

TEST_F(QtFileDialogs, AFolderThatDoesNotExistIsRefusedInsideTheDialog)
{
    bool warned = false;
    const auto chosen = choose(false, inFolder("missing/Book.xls"), [&](QWidget* modal) {
        warned = qobject_cast<QMessageBox*>(modal) != nullptr;
        pressButton(modal, QMessageBox::Ok);
        whenModalAppears([](QWidget* dialog) { qobject_cast<QFileDialog*>(dialog)->reject(); }, modal);
    });
    EXPECT_TRUE(warned);
    EXPECT_FALSE(chosen);
}

TEST_F(QtFileDialogs, SaveAsksBeforeReplacingAnExistingFile)
{
    std::ofstream(inFolder("old.pdf").toStdString()) << "%PDF";
    bool asked = false;
    const auto chosen = choose(true, inFolder("old.pdf"), [&](QWidget* modal) {
        asked = true;
        pressButton(modal, QMessageBox::Yes);
    });
    EXPECT_TRUE(asked);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(QString::fromStdString(*chosen), inFolder("old.pdf"));
}

// The names of the files in `folder` that were opened since `watch` began: folders such as
// /proc hold files whose read blocks for good, so a dialog must never read what it lists.
std::set<std::string> filesOpened(int watch)
{
    std::set<std::string> names;
    alignas(inotify_event) char buffer[4096];
    ssize_t length = 0;
    while ((length = ::read(watch, buffer, sizeof buffer)) > 0) {
        for (char* at = buffer; at < buffer + length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len > 0 && !(event->mask & IN_ISDIR))
                names.insert(event->name);
            at += sizeof(inotify_event) + event->len;
        }
    }
    return names;
}

TEST_F(QtFileDialogs, ListedFilesAreNeverReadNorAFifoOpened)
{
    using namespace std::chrono_literals;
    std::ofstream(inFolder("kmsg").toStdString()) << "<6>[    0.000000] Linux version";
    const QString fifo = inFolder("initctl");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, folder.path().toLocal8Bit().constData(), IN_OPEN), 0);
    std::atomic<bool> done = false, rescued = false;
    // Should the dialog block opening the FIFO, this gives it a writer, so that the test fails
    // instead of hanging.
    std::thread watchdog([&] {
        const auto deadline = std::chrono::steady_clock::now() + 15s;
        while (!done && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
        for (; !done; std::this_thread::sleep_for(20ms)) {
            rescued = true;
            if (const int writer = ::open(fifo.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK); writer >= 0)
                ::close(writer);
        }
    });
    bool listed = false;
    whenModalAppears([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        auto* model = dialog->findChild<QFileSystemModel*>();
        ASSERT_NE(model, nullptr);
        // Typed into the name box, then shown in the list with its icon and type.
        for (const QString& path : {inFolder("kmsg"), fifo}) {
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            QTest::qWait(100);
        }
        listed = QTest::qWaitFor([&] { return model->index(inFolder("kmsg")).isValid(); }, 5000);
        for (int column = 0; column < model->columnCount(); ++column) {
            model->data(model->index(inFolder("kmsg"), column), Qt::DecorationRole);
            model->data(model->index(inFolder("kmsg"), column), Qt::DisplayRole);
        }
        QTest::qWait(200);
        dialog->reject();
    });
    const auto chosen = ui.chooseFileToOpen({"Select Source File", "All files (*)", folder.path().toStdString(), ""});
    done = true;
    watchdog.join();
    EXPECT_FALSE(chosen);
    EXPECT_TRUE(listed);
    EXPECT_FALSE(rescued) << "the dialog blocked opening a FIFO";
    EXPECT_EQ(filesOpened(watch), std::set<std::string>{});
    ::close(watch);
}

}  // namespace
}  // namespace kx::testing
