#pragma once
// The "Print Range" boxes: which typed characters each box takes.
#include <QString>

class QLineEdit;

namespace kx::mainwindow {

inline constexpr int kBackspace = 8;

// The first-page box takes digits and Backspace, and "," or "-" only after a text that does
// not already end in one of them. `text` is the box's whole text before the character.
bool fromBoxTakes(int characterCode, const QString& text);
// The last-page box takes digits, Backspace and "-" always, anything else only after a numeric text.
bool toBoxTakes(int characterCode, const QString& text);

using KeyRule = bool (*)(int characterCode, const QString& text);
// Makes `box` silently drop every typed character that `rule` refuses.
void installKeyRule(QLineEdit& box, KeyRule rule);

}  // namespace kx::mainwindow
