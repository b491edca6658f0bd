#include "readoutlabel.h"

#include "calcaccessibility.h"

#include <QAccessible>

namespace {
ReadoutLabel::Announcer &announcer()
{
    static ReadoutLabel::Announcer current;
    return current;
}

void announce(QAccessibleEvent *event)
{
    if (announcer())
        announcer()(event);
    else
        QAccessible::updateAccessibility(event);
}
} // namespace

ReadoutLabel::ReadoutLabel(const QString &number, QWidget *parent) : QLabel(parent)
{
    // Before anything asks for this label's accessible interface, which Qt then keeps.
    installCalcAccessibility();
    setTextFormat(Qt::PlainText);
    setText(number);
    setAccessibleName(QStringLiteral("表示"));
}

void ReadoutLabel::showNumber(const QString &number)
{
    const QString previous = text();
    if (number == previous)
        return;
    setText(number);
    QAccessibleTextUpdateEvent textUpdate(this, 0, previous, number);
    announce(&textUpdate);
    QAccessibleValueChangeEvent valueChange(this, number);
    announce(&valueChange);
}

void ReadoutLabel::setAnnouncer(Announcer listener)
{
    announcer() = std::move(listener);
}
