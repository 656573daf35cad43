#include "mainwindow/page_range.h"

#include "mainwindow/numeric_text.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace kx::mainwindow {
namespace {

bool isDigitOrBackspace(int code) { return (code >= '0' && code <= '9') || code == kBackspace; }
bool isRangeSeparator(int code) { return code == ',' || code == '-'; }

bool isWindowKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Tab
        || key == Qt::Key_Backtab || key == Qt::Key_Delete;
}

class KeyRuleFilter final : public QObject {
public:
    KeyRuleFilter(QLineEdit& box, KeyRule rule) : QObject(&box), box_(box), rule_(rule) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &box_ || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        // Keys that type nothing (arrows, Home), Delete (which edits rather than types), and the
        // window's own keys (default and cancel buttons, focus moves) never reach the box's filter.
        if (typed.isEmpty() || isWindowKey(key->key()))
            return false;
        return !rule_(typed.front().unicode(), box_.text());
    }

private:
    QLineEdit& box_;
    KeyRule rule_;
};

}  // namespace

bool fromBoxTakes(int characterCode, const QString& text)
{
    if (isDigitOrBackspace(characterCode))
        return true;
    if (!isRangeSeparator(characterCode) || text.isEmpty())
        return false;
    return !isRangeSeparator(text.back().unicode());
}

bool toBoxTakes(int characterCode, const QString& text)
{
    if (isDigitOrBackspace(characterCode) || characterCode == '-')
        return true;
    return isNumericText(text);
}

void installKeyRule(QLineEdit& box, KeyRule rule) { box.installEventFilter(new KeyRuleFilter(box, rule)); }

}  // namespace kx::mainwindow
