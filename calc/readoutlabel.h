#pragma once

#include <QLabel>
#include <functional>

class QAccessibleEvent;

// The calculator's readout: a label whose every new number is announced to assistive
// technology as a change of its text and value.
class ReadoutLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ReadoutLabel(const QString &number, QWidget *parent = nullptr);

    void showNumber(const QString &number);

    // Where announcements go; QAccessible::updateAccessibility unless a test listens instead
    // (Qt drops them while no screen reader is active, as under a test).
    using Announcer = std::function<void(QAccessibleEvent *)>;
    static void setAnnouncer(Announcer announcer);
};
