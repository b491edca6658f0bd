#include "keylabel.h"

#include "calcaccessibility.h"

#include <QMouseEvent>

KeyLabel::KeyLabel(const QString &caption, QWidget *parent) : QLabel(parent)
{
    // Before anything asks for this key's accessible interface, which Qt then keeps.
    installCalcAccessibility();
    setText(caption);
    setAlignment(Qt::AlignCenter);
}

void KeyLabel::activate()
{
    emit clicked();
}

void KeyLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        clickPending = true;
    emit pressed();
}

// QLabel would take this for a press; the key counts a double click as the one press before it.
void KeyLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        clickPending = false;
}

void KeyLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = event->button() == Qt::LeftButton && clickPending &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        clickPending = false;
    emit released();
    if (click)
        emit clicked();
}
