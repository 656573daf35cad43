#pragma once
// Numbers typed by the user, read the way the user's locale writes them.
#include <QString>

#include <optional>

namespace kx::mainwindow {

// The number a text reads as once its leading and trailing blanks are left out, in the user's
// locale (sign, digits, decimal separator); nothing when the text is empty or not one finite
// number.
// The one reading for both "is it numeric" and "what is its value".
std::optional<double> numericValue(const QString& text);

inline bool isNumericText(const QString& text) { return numericValue(text).has_value(); }

}  // namespace kx::mainwindow
