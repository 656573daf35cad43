#include "mainwindow/numeric_text.h"

#include <QLocale>

#include <cmath>

namespace kx::mainwindow {

std::optional<double> numericValue(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::system().toDouble(trimmed, &ok);
    // The locale's reading also takes "nan", "inf" and "infinity", which no check can compare.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace kx::mainwindow
