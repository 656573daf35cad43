#include "mainwindow/numeric_text.h"

#include <QLocale>

namespace kx::mainwindow {

std::optional<double> numericValue(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::system().toDouble(trimmed, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

}  // namespace kx::mainwindow
