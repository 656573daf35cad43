#include "mainwindow/artwork.h"
#include "mainwindow/main_window.h"
#include "mainwindow/page_range.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>

namespace kx::mainwindow {
namespace {

// Places are given in twips, 15 to a pixel.
constexpr int kTwipsPerPixel = 15;

QRect twips(int left, int top, int width, int height)
{
    return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel};
}

QFont font(const char* family, bool bold = false)
{
    QFont chosen{QString::fromLatin1(family)};
    chosen.setPointSizeF(8.25);
    chosen.setBold(bold);
    return chosen;
}

const QFont& textFont()
{
    static const QFont verdana = font("Verdana");
    return verdana;
}

template <typename Control>
Control* place(QWidget& panel, Control* control, QRect where, const QFont& face = textFont())
{
    control->setParent(&panel);
    control->setGeometry(where);
    control->setFont(face);
    return control;
}

void label(QWidget& panel, const char* text, QRect where)
{
    place(panel, new QLabel(QString::fromLatin1(text)), where);
}

void frame(QWidget& panel, const char* caption, QRect where, bool bold, bool opaque)
{
    auto* group = place(panel, new QGroupBox(QString::fromLatin1(caption)), where, font("MS Sans Serif", bold));
    group->setAutoFillBackground(opaque);
    // The caption sits on the frame's top edge, with the frame's full height below it.
    group->setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid #a0a0a0; border-radius: 2px; margin-top: 6px; }"
                                        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
}

QPushButton* button(QWidget& panel, const char* caption, QRect where)
{
    static const QFont arialBold = font("Arial", true);
    auto* pushButton = place(panel, new QPushButton(QString::fromLatin1(caption)), where, arialBold);
    // A focused button takes Enter itself; otherwise Enter goes to the window's default button.
    pushButton->setAutoDefault(true);
    return pushButton;
}

QToolButton* linkButton(QWidget& panel, const char* tip, QChar symbol, QColor colour, QRect where)
{
    auto* picture = place(panel, new QToolButton, where);
    picture->setToolTip(QString::fromLatin1(tip));
    picture->setIcon(badgeIcon(symbol, colour));
    picture->setIconSize(where.size() - QSize(6, 6));
    picture->setAutoRaise(true);
    picture->setCursor(Qt::PointingHandCursor);
    return picture;
}

QLineEdit* textBox(QWidget& panel, QRect where, int maxLength = 32767)
{
    auto* box = place(panel, new QLineEdit, where);
    box->setMaxLength(maxLength);
    return box;
}

QWidget* rule(QWidget& panel, QRect where, QColor colour)
{
    auto* line = new QWidget(&panel);
    line->setGeometry(where);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}

void exclusive(QWidget& panel, QRadioButton* first, QRadioButton* second)
{
    auto* group = new QButtonGroup(&panel);
    group->addButton(first);
    group->addButton(second);
}

void paintPanel(QWidget& panel)
{
    const QColor background(239, 240, 244);
    QPalette palette = panel.palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Button, background);
    panel.setPalette(palette);
    panel.setAutoFillBackground(true);
    panel.setGeometry(twips(0, 0, 9870, 6900));
}

void buildHeader(QWidget& panel, MainWindowControls& c)
{
    auto* logo = place(panel, new QLabel, twips(0, 0, 3555, 825));
    logo->setPixmap(productLogo(logo->size()));
    logo->setScaledContents(true);
    c.cmdHomeLink = linkButton(panel, "OrvPDF Home Page", QChar(0x2302), QColor(0, 102, 204), twips(7050, 300, 690, 690));
    c.cmdContactUs = linkButton(panel, "Contact Us", QChar(0x2709), QColor(0, 153, 102), twips(8025, 330, 660, 675));
    c.cmdHelp = linkButton(panel, "Help", QChar('?'), QColor(230, 140, 0), twips(8940, 330, 690, 660));
    rule(panel, QRect(0, 1140 / kTwipsPerPixel, 10470 / kTwipsPerPixel, 2), QColor(192, 0, 0));
}

void buildFileRows(QWidget& panel, MainWindowControls& c)
{
    frame(panel, "Select File:", twips(180, 1260, 9555, 4755), true, false);
    label(panel, "Select Source File:", twips(300, 1470, 1605, 195));
    c.txtfilepath = textBox(panel, twips(360, 1680, 7725, 345));
    c.cmdSelectFile = button(panel, "&Browse", twips(8190, 1680, 1125, 315));
    label(panel, "Select Target Location:", twips(300, 2070, 1980, 195));
    c.txtfilepathOutput = textBox(panel, twips(330, 2280, 7755, 345));
    c.cmdBrowseOutput = button(panel, "B&rowse", twips(8190, 2280, 1125, 315));
    c.cmdAddToList = button(panel, "&Add To List", twips(7110, 2820, 1125, 315));
    c.cmdClearList = button(panel, "C&lear List", twips(8370, 2820, 1125, 315));
    c.lvwGeneral = place(panel, new QTreeWidget, twips(300, 3180, 9210, 1260));
    setUpJobColumns(*c.lvwGeneral);
}

void buildPrintRange(QWidget& panel, MainWindowControls& c)
{
    frame(panel, "Print Range", twips(270, 4500, 2385, 1245), false, true);
    c.chkAllPages = place(panel, new QRadioButton(QStringLiteral("All Pages")), twips(420, 4710, 1155, 285));
    c.chkFromTo = place(panel, new QRadioButton(QStringLiteral("Select Page Range")), twips(420, 5010, 1965, 255));
    exclusive(panel, c.chkAllPages, c.chkFromTo);
    label(panel, "From", twips(690, 5310, 435, 195));
    c.txtFrom = textBox(panel, twips(1230, 5280, 435, 285), 3);
    c.txtFrom->setText(QStringLiteral("1"));
    label(panel, "To", twips(1710, 5310, 210, 195));
    c.txtTo = textBox(panel, twips(2040, 5280, 465, 285), 3);
    c.txtTo->setText(QStringLiteral("2"));
    installKeyRule(*c.txtFrom, fromBoxTakes);
    installKeyRule(*c.txtTo, toBoxTakes);
}

void buildPrintSize(QWidget& panel, MainWindowControls& c)
{
    frame(panel, "Print Size", twips(2760, 4500, 3405, 1245), false, false);
    c.optPotrait = place(panel, new QRadioButton(QStringLiteral("Potrait")), twips(2940, 4710, 1155, 285));
    c.optLandscape = place(panel, new QRadioButton(QStringLiteral("Landscape")), twips(4080, 4710, 1365, 255));
    exclusive(panel, c.optPotrait, c.optLandscape);
    c.optPotrait->setChecked(true);
    label(panel, "Adjust", twips(3000, 5070, 540, 195));
    c.txtAdjust = textBox(panel, twips(3630, 5040, 645, 285), 3);
    c.txtAdjust->setText(QStringLiteral("100"));
    label(panel, "%", twips(4320, 5100, 240, 225));
    label(panel, "Paper Size:", twips(2970, 5460, 990, 195));
    c.cboPaperSize = place(panel, new QComboBox, twips(4110, 5400, 1515, 315));
    c.cboPaperSize->addItems({"A4", "Legal", "A5", "Letter", "B4", "B5"});
}

void buildChecksAndButtons(QWidget& panel, MainWindowControls& c)
{
    c.chkShowGridlines = place(panel, new QCheckBox(QStringLiteral("Show Gridlines")), twips(6330, 4650, 2025, 225));
    c.chkShowGridlines->setChecked(true);
    c.chkHeader = place(panel, new QCheckBox(QStringLiteral("Show Headers")), twips(6330, 4950, 3075, 225));
    c.chkOpenDocEditing =
        place(panel, new QCheckBox(QStringLiteral("Open File After Conversion")), twips(6330, 5580, 2955, 195));
    rule(panel, QRect(90 / kTwipsPerPixel, 6270 / kTwipsPerPixel, (9780 - 90) / kTwipsPerPixel, 1), QColor(128, 128, 128));
    c.cmdConvert = button(panel, "&Convert", twips(7230, 6480, 1125, 315));
    c.cmdExit = button(panel, "C&lose", twips(8520, 6480, 1125, 315));
}

}  // namespace

MainWindowControls buildMainWindowControls(QWidget& panel)
{
    MainWindowControls controls;
    controls.picMain = &panel;
    paintPanel(panel);
    buildHeader(panel, controls);
    buildFileRows(panel, controls);
    buildPrintRange(panel, controls);
    buildPrintSize(panel, controls);
    buildChecksAndButtons(panel, controls);
    return controls;
}

}  // namespace kx::mainwindow
