#pragma once
// The program's one working window: the source and target boxes, the job list, the print
// options, the Convert and Close buttons and the header links.
#include "mainwindow/job_list.h"
#include "mainwindow/window_services.h"

#include <QWidget>


class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QTreeWidget;

namespace kx::mainwindow {

// The window's named controls, for the code that reads the options and fills the job list.
struct MainWindowControls {
    QWidget* picMain = nullptr;
    QToolButton* cmdHomeLink = nullptr;
    QToolButton* cmdContactUs = nullptr;
    QToolButton* cmdHelp = nullptr;
    QLineEdit* txtfilepath = nullptr;
    QPushButton* cmdSelectFile = nullptr;
    QLineEdit* txtfilepathOutput = nullptr;
    QPushButton* cmdBrowseOutput = nullptr;
    QPushButton* cmdAddToList = nullptr;
    QPushButton* cmdClearList = nullptr;
    QTreeWidget* lvwGeneral = nullptr;
    QRadioButton* chkAllPages = nullptr;
    QRadioButton* chkFromTo = nullptr;
    QLineEdit* txtFrom = nullptr;
    QLineEdit* txtTo = nullptr;
    QRadioButton* optPotrait = nullptr;
    QRadioButton* optLandscape = nullptr;
    QLineEdit* txtAdjust = nullptr;
    QComboBox* cboPaperSize = nullptr;
    QCheckBox* chkShowGridlines = nullptr;
    QCheckBox* chkHeader = nullptr;
    QCheckBox* chkOpenDocEditing = nullptr;
    QPushButton* cmdConvert = nullptr;
    QPushButton* cmdExit = nullptr;
};

// Lays the controls out on `panel` at their fixed places.
MainWindowControls buildMainWindowControls(QWidget& panel);

class MainWindow final : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(WindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    const MainWindowControls& controls() const { return controls_; }
    JobList& jobList() { return jobList_; }
    const WindowServices& services() const { return services_; }

    // Appends the pair standing in the two path boxes unless its file name is listed already.
    // Leaves the boxes as they are.
    void AddCompleteListView();

    // The desktop session is ending (log-off, shutdown). Asks the exit question when the session
    // lets the program ask; false when the user stays. Once agreed, closing asks no more.
    bool agreeToSessionEnd(bool mayAsk);

public slots:
    void cmdConvert_Click();

private slots:
    void cmdSelectFile_Click();
    void cmdBrowseOutput_Click();
    void cmdAddToList_Click();
    void cmdClearList_Click();
    void chkOpenDocEditing_Click();
    void chkAllPages_Click();
    void chkFromTo_Click();
    void cmdHomeLink_Click();
    void cmdContactUs_Click();
    void cmdHelp_Click();
    void cmdExit_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void connectHandlers();
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void setOpenAfterConversionFromLaunch();
    bool userAgreesToExit();
    // Connects `signal` of `sender` to `handler`, with failures going to the error reporter.
    template <typename Sender, typename Signal, typename Handler>
    void on(Sender* sender, Signal signal, Handler handler, const char* source);

    WindowServices services_;
    MainWindowControls controls_;
    JobList jobList_;
    bool activated_ = false;
    bool exitAgreed_ = false;
};

}  // namespace kx::mainwindow
