#pragma once

#include <QLabel>

// A key of the calculator's face: a transparent caption over the backdrop that only reports
// what the user did with the mouse; the window decides what that means.
class KeyLabel : public QLabel
{
    Q_OBJECT

public:
    explicit KeyLabel(const QString &caption, QWidget *parent = nullptr);

    // A press without the pointer, as assistive technology makes it: a click and no note.
    void activate();

signals:
    // Any button. The second press of a double click is no press.
    void pressed();
    // Every release of a button pressed on this key, wherever the pointer is by then.
    void released();
    // The left button pressed and released on the key; a double click adds no second click.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_clickPending = false;
};
