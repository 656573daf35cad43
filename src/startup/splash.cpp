#include "startup/splash.h"

#include "errors/failure.h"
#include "mainwindow/artwork.h"
#include "mainwindow/guarded.h"
#include "platform/windows.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace kx::startup {
namespace {

constexpr std::int16_t kTickMilliseconds = 500;
constexpr std::int16_t kSplashMilliseconds = 4000;
constexpr int kProgressStep = 2;
constexpr const char* kHandOffApplicationTitle = "Orv PDF";

QPixmap splashArtwork(QSize size)
{
    QPixmap art(size);
    QPainter painter(&art);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(255, 255, 255));
    sky.setColorAt(1, QColor(239, 240, 244));
    painter.fillRect(art.rect(), sky);
    painter.fillRect(QRect(0, size.height() - 4, size.width(), 4), QColor(192, 0, 0));
    const QSize logoSize(size.width() * 3 / 4, size.height() / 3);
    painter.drawPixmap(QPoint((size.width() - logoSize.width()) / 2, (size.height() - logoSize.height()) / 2),
                       mainwindow::productLogo(logoSize));
    return art;
}

QLabel* centredLabel(const QString& text, int pointSize, bool bold)
{
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignCenter);
    QFont face(QStringLiteral("Verdana"));
    face.setPointSize(pointSize);
    face.setBold(bold);
    label->setFont(face);
    return label;
}

}  // namespace

const char* StatusTicker::tick(bool& finished)
{
    iElapsed = static_cast<std::int16_t>(iElapsed + kTickMilliseconds);
    const char* text = bBlink ? kInitializingText : kWaitingText;
    bBlink = !bBlink;
    finished = iElapsed >= kSplashMilliseconds;
    return finished ? kLoadedText : text;
}

int nextProgress(int value) { return (value == 100 ? 0 : value) + kProgressStep; }

Splash::Splash(StartupServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), services_(std::move(services))
{
    setWindowTitle(QStringLiteral("Korvendal XL"));
    setWindowIcon(mainwindow::programIcon());
    auto* Image1 = new QLabel;
    Image1->setPixmap(splashArtwork(QSize(440, 200)));
    auto* Label6 = centredLabel(QStringLiteral("Quorvane"), 9, true);
    lblConversion_ = centredLabel(QString::fromLatin1(kLoadingText), 8, false);
    ProgressBar1_ = new QProgressBar;
    ProgressBar1_->setRange(0, 100);
    ProgressBar1_->setValue(0);
    ProgressBar1_->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* part : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(Label6),
                          static_cast<QWidget*>(lblConversion_), static_cast<QWidget*>(ProgressBar1_)})
        layout->addWidget(part);
    setFixedSize(sizeHint());
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    Form_Load();
    Timer1_ = startTimer(kSplashMilliseconds, &Splash::Timer1_Timer, "tmr_Timer()");
    Timer1_->setSingleShot(true);
    Timer2_ = startTimer(kTickMilliseconds, &Splash::Timer2_Timer, "frmSplash:Timer2");
    Timer3_ = startTimer(100, &Splash::Timer3_Timer, "frmSplash:Timer3");
}

Splash::~Splash() = default;

QTimer* Splash::startTimer(int milliseconds, void (Splash::*tick)(), const char* source)
{
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this,
            [this, tick, source] { mainwindow::runReporting(services_.reportError, source, [&] { (this->*tick)(); }); });
    timer->start(milliseconds);
    return timer;
}

// A settings file that cannot be read in full still lets the program start with the defaults.
void Splash::Form_Load() { mainwindow::runReporting(services_.reportError, "frmSplash:Form_Load", services_.loadSettings); }

QString Splash::statusText() const { return lblConversion_->text(); }
int Splash::progress() const { return ProgressBar1_->value(); }
bool Splash::statusTimerRunning() const { return Timer2_->isActive(); }

void Splash::Timer2_Timer()
{
    bool finished = false;
    lblConversion_->setText(QString::fromLatin1(ticker_.tick(finished)));
    if (finished)
        Timer2_->stop();
}

void Splash::Timer3_Timer() { ProgressBar1_->setValue(nextProgress(ProgressBar1_->value())); }

// The four-second step: every action runs, whatever failed before it.
void Splash::Timer1_Timer()
{
    std::int16_t found = 0;
    mainwindow::runSteps(
        services_.reportError, "tmr_Timer()",
        {[&] { return found = FindPreviousInstance(), true; },
         [&] {
             if (found == 0)
                 return show(), true;
             if (!platform::topLevelWindows().activateByTitle(kHandOffApplicationTitle))
                 throw errors::RunTimeError(errors::kInvalidProcedureCall, "Invalid procedure call or argument");
             return true;
         },
         [&] {
             if (found != 0)
                 ActivatePreviousMainWindow();
             return true;
         },
         [&] {
             if (found != 0)
                 services_.terminate();
             return found == 0;
         },
         [&] { return services_.showMainWindow(), true; },
         [&] { return close(), true; }},
        mainwindow::AfterFailure::AlwaysCarryOn);
}

void Splash::closeEvent(QCloseEvent* event)
{
    Timer1_->stop();
    Timer2_->stop();
    Timer3_->stop();
    event->accept();
}

}  // namespace kx::startup
