#include "mainwindow/window_conversion.h"

#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidget>

#include "mainwindow/numeric_text.h"

namespace kx::mainwindow {

std::string WindowConversionOptions::paperSizeText() const
{
    return controls_.cboPaperSize->currentText().toStdString();
}

double WindowConversionOptions::zoomPercent() const
{
    return numericValue(controls_.txtAdjust->text()).value_or(std::nan(""));
}

bool WindowConversionOptions::landscape() const { return controls_.optLandscape->isChecked(); }
bool WindowConversionOptions::printGridlines() const { return controls_.chkShowGridlines->isChecked(); }
bool WindowConversionOptions::printHeadings() const { return controls_.chkHeader->isChecked(); }
bool WindowConversionOptions::allPages() const { return controls_.chkAllPages->isChecked(); }
std::string WindowConversionOptions::fromPageText() const { return controls_.txtFrom->text().toStdString(); }
std::string WindowConversionOptions::toPageText() const { return controls_.txtTo->text().toStdString(); }
bool WindowConversionOptions::openAfterConversion() const { return controls_.chkOpenDocEditing->isChecked(); }

void WindowJobRows::setStatus(std::int16_t row, const std::string& status)
{
    list_.UpdateListViewStatus(row, QString::fromStdString(status));
    // The batch holds the event loop, so the list is painted here for the user to follow it.
    view_.viewport()->repaint();
}

std::string WindowJobRows::fileName(std::int16_t row) const
{
    const auto jobRow = list_.row(row);
    return jobRow ? jobRow->strFileName.toStdString() : std::string();
}

}  // namespace kx::mainwindow
