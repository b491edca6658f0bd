#pragma once

#include <QAbstractButton>

// A key of the calculator's face: a button drawn as its caption alone, transparent over the
// backdrop, that only reports what the user did; the window decides what that means. Qt's
// button gives the click (the left button, released over the key) and, for assistive
// technology, the name and the press action; the mouse's own signals carry every button.
class KeyButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit KeyButton(const QString &caption, QWidget *parent = nullptr);

    void setAlignment(Qt::Alignment alignment);

signals:
    // Any button; the second press of a double click is none.
    void mouseDown();
    // Every release of a button pressed on this key, wherever the pointer is by then; before
    // the click it may bring.
    void mouseUp();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    Qt::Alignment m_alignment = Qt::AlignCenter;
};
