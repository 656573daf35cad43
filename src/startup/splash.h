#pragma once
// The splash window: loads the settings, shows a waiting text and a moving bar, and after
// four seconds opens the main window (or hands over to a running copy) and closes itself.
#include "startup/startup.h"

#include <QWidget>

#include <cstdint>

class QLabel;
class QProgressBar;
class QTimer;

namespace kx::startup {

inline constexpr const char* kLoadingText = "Please wait... loading application settings...";
inline constexpr const char* kWaitingText = "Please wait...";
inline constexpr const char* kInitializingText = "Please wait......Initializing Application";
inline constexpr const char* kLoadedText = "Application Loaded Successfully";

// The waiting text's state, counted by the 500 ms tick.
struct StatusTicker {
    bool bBlink = false;
    std::int16_t iElapsed = 0;  // milliseconds, up to 4000

    // Advances one tick and answers the text to show; `finished` turns true at 4000 ms.
    const char* tick(bool& finished);
};

// The bar's next value: from 100 it starts over, then it rises by 2.
int nextProgress(int value);

class Splash final : public QWidget {
    Q_OBJECT
public:
    explicit Splash(StartupServices services, QWidget* parent = nullptr);
    ~Splash() override;

    QString statusText() const;
    int progress() const;
    bool statusTimerRunning() const;

    // The three timers' ticks, public so that a test can step through them.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    QTimer* startTimer(int milliseconds, void (Splash::*tick)(), const char* source);

    StartupServices services_;
    StatusTicker ticker_;
    QLabel* lblConversion_ = nullptr;
    QProgressBar* ProgressBar1_ = nullptr;
    QTimer* Timer1_ = nullptr;
    QTimer* Timer2_ = nullptr;
    QTimer* Timer3_ = nullptr;
};

}  // namespace kx::startup
