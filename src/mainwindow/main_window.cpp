#include "mainwindow/main_window.h"

#include "mainwindow/artwork.h"
#include "mainwindow/file_selection.h"
#include "mainwindow/guarded.h"
#include "mainwindow/titles.h"
#include "mainwindow/window_commands.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeWidget>

namespace kx::mainwindow {

MainWindow::MainWindow(WindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint),
      services_(std::move(services)),
      controls_(buildMainWindowControls(*new QWidget(this))),
      jobList_(*controls_.lvwGeneral)
{
    setWindowTitle(QString::fromLatin1(kMainWindowTitle));
    setWindowIcon(programIcon());
    setFixedSize(controls_.picMain->size());
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    connectHandlers();
    Form_Load();
}

MainWindow::~MainWindow() = default;

template <typename Sender, typename Signal, typename Handler>
void MainWindow::on(Sender* sender, Signal signal, Handler handler, const char* source)
{
    connect(sender, signal, this,
            [this, handler, source] { runReporting(services_.reportError, source, [&] { (this->*handler)(); }); });
}

void MainWindow::connectHandlers()
{
    const MainWindowControls& c = controls_;
    on(c.cmdSelectFile, &QPushButton::clicked, &MainWindow::cmdSelectFile_Click, "frmMain:cmdBrowse");
    on(c.cmdBrowseOutput, &QPushButton::clicked, &MainWindow::cmdBrowseOutput_Click, "frmMain:cmdBrowse");
    on(c.cmdAddToList, &QPushButton::clicked, &MainWindow::cmdAddToList_Click, "frmMain:cmdAddToList");
    on(c.cmdClearList, &QPushButton::clicked, &MainWindow::cmdClearList_Click, "frmMain:cmdClearList");
    on(c.chkOpenDocEditing, &QCheckBox::toggled, &MainWindow::chkOpenDocEditing_Click, "frmMain:chkOpenDocEditing");
    on(c.chkAllPages, &QRadioButton::clicked, &MainWindow::chkAllPages_Click, "frmMain:chkAllPages");
    on(c.chkFromTo, &QRadioButton::clicked, &MainWindow::chkFromTo_Click, "frmMain:chkFromTo");
    on(c.cmdHomeLink, &QToolButton::clicked, &MainWindow::cmdHomeLink_Click, "frmMain:cmdHomeLink");
    on(c.cmdContactUs, &QToolButton::clicked, &MainWindow::cmdContactUs_Click, "frmMain:cmdContactUs");
    on(c.cmdHelp, &QToolButton::clicked, &MainWindow::cmdHelp_Click, "frmMain:cmdHelp");
    on(c.cmdExit, &QPushButton::clicked, &MainWindow::cmdExit_Click, "frmMain:cmdExit");
    on(c.cmdConvert, &QPushButton::clicked, &MainWindow::cmdConvert_Click, "frmMain:Image9_Click");
}

void MainWindow::setOpenAfterConversionFromLaunch()
{
    controls_.chkOpenDocEditing->setChecked(*services_.settings.launch != 0);
}

// Each set-up step stands alone: one that fails is skipped and the window still opens.
void MainWindow::Form_Load()
{
    const MainWindowControls& c = controls_;
    runSteps(services_.reportError, "frmMain:Form_Load",
             {[&] { return c.txtfilepath->clear(), true; },
              [&] { return c.cboPaperSize->setCurrentIndex(0), true; },
              [&] { return c.txtFrom->setText(QString::fromStdString(*services_.settings.pageRange)), true; },
              [&] {
                  c.chkAllPages->setChecked(true);
                  c.txtFrom->setEnabled(false);
                  return true;
              },
              [&] { return c.txtfilepathOutput->clear(), true; },
              [&] { return setOpenAfterConversionFromLaunch(), true; }},
             AfterFailure::SkipSilently);
}

void MainWindow::Form_Activate()
{
    const MainWindowControls& c = controls_;
    runSteps(services_.reportError, "frmMain:Form_Activate",
             {[&] {
                  c.chkAllPages->setChecked(true);
                  c.chkFromTo->setEnabled(true);
                  c.chkFromTo->setChecked(false);
                  c.txtFrom->setEnabled(false);
                  c.txtTo->setEnabled(false);
                  return true;
              },
              [&] { return setOpenAfterConversionFromLaunch(), true; }},
             AfterFailure::SkipSilently);
}

void MainWindow::Form_Unload()
{
    try {
        services_.endProgram();
    } catch (...) {
    }
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The window is shown once and never hidden again, so this is its one activation.
    if (!activated_) {
        activated_ = true;
        Form_Activate();
    }
}

bool MainWindow::userAgreesToExit()
{
    bool confirmed = false;
    runReporting(services_.reportError, "frmMain:Form_QueryUnload", [&] { confirmed = userConfirmsExit(); });
    return confirmed;
}

// Form_QueryUnload: every request to close the window asks first.
void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!exitAgreed_ && !userAgreesToExit()) {
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}

bool MainWindow::agreeToSessionEnd(bool mayAsk)
{
    exitAgreed_ = !mayAsk || userAgreesToExit();
    return exitAgreed_;
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Command buttons take Enter themselves; a focused picture button is a button too.
        if (auto* pictureButton = qobject_cast<QToolButton*>(focusWidget()))
            pictureButton->click();
        else
            controls_.cmdSelectFile->click();
        break;
    case Qt::Key_Escape:
        controls_.cmdExit->click();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MainWindow::AddCompleteListView()
{
    mainwindow::AddCompleteListView(jobList_, controls_.txtfilepath->text(), controls_.txtfilepathOutput->text());
}

void MainWindow::cmdSelectFile_Click()
{
    const PathChoice choice = chooseSource(services_);
    if (choice.outcome == Choice::Rejected)
        controls_.txtfilepath->clear();
    if (choice.outcome != Choice::Accepted)
        return;
    controls_.txtfilepath->setText(choice.path);
    controls_.txtfilepathOutput->setText(proposedTarget(choice.path));
}

void MainWindow::cmdBrowseOutput_Click()
{
    const PathChoice choice = chooseTarget(services_);
    if (choice.outcome == Choice::Accepted)
        controls_.txtfilepathOutput->setText(choice.path);
}

void MainWindow::cmdAddToList_Click()
{
    if (addPairToList(jobList_, controls_.txtfilepath->text(), controls_.txtfilepathOutput->text())
        == AddOutcome::NothingToAdd)
        return;
    controls_.txtfilepath->clear();
    controls_.txtfilepathOutput->clear();
}

void MainWindow::cmdClearList_Click() { jobList_.clear(); }

void MainWindow::chkOpenDocEditing_Click()
{
    std::int16_t& launch = *services_.settings.launch;
    launch = launchAfterToggle(controls_.chkOpenDocEditing->isChecked(), launch);
}

void MainWindow::chkAllPages_Click()
{
    controls_.txtFrom->setEnabled(false);
    controls_.txtTo->setEnabled(false);
}

void MainWindow::chkFromTo_Click()
{
    controls_.txtFrom->setEnabled(true);
    controls_.txtTo->setEnabled(true);
}

void MainWindow::cmdHomeLink_Click() { openLink(homePageAddress()); }
void MainWindow::cmdContactUs_Click() { openLink(contactPageAddress()); }
void MainWindow::cmdHelp_Click() { openLink(helpPagePath(services_.programFolder)); }

void MainWindow::cmdExit_Click()
{
    try {
        if (userConfirmsExit())
            services_.endProgram();
    } catch (...) {
    }
}

}  // namespace kx::mainwindow
