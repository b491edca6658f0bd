#include "keybutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

KeyButton::KeyButton(const QString &caption, QWidget *parent) : QAbstractButton(parent)
{
    setText(caption);
    // The window takes every key of the keyboard.
    setFocusPolicy(Qt::NoFocus);
}

void KeyButton::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

// The caption as a label draws it, and nothing else: a key has no pressed look.
void KeyButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    style()->drawItemText(&painter, rect(), int(m_alignment), palette(), isEnabled(), text(),
                          QPalette::WindowText);
}

void KeyButton::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown();
    QAbstractButton::mousePressEvent(event);
    // Taken whatever the button, so that its release comes back to this key.
    event->accept();
}

void KeyButton::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseUp();
    QAbstractButton::mouseReleaseEvent(event);
    event->accept();
}

// The second press of a double click is no press: it starts no note and clicks nothing, so "7"
// double-clicked gives "7."; its release still ends the note once more.
void KeyButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}
