#include "keylabel.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

namespace {

// A key is a button that can be pressed without a pointer; its name is its accessible name.
class KeyAccessible : public QAccessibleWidget
{
public:
    explicit KeyAccessible(KeyLabel *key) : QAccessibleWidget(key, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            static_cast<KeyLabel *>(widget())->activate();
    }
};

QAccessibleInterface *keyAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("KeyLabel"))
        return new KeyAccessible(static_cast<KeyLabel *>(object));
    return nullptr;
}

} // namespace

KeyLabel::KeyLabel(const QString &caption, QWidget *parent) : QLabel(parent)
{
    // Before anything asks for this key's accessible interface, which Qt then keeps.
    static const bool accessible = (QAccessible::installFactory(keyAccessible), true);
    Q_UNUSED(accessible);
    setText(caption);
}

void KeyLabel::activate()
{
    emit clicked();
}

void KeyLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_clickPending = true;
    emit pressed();
}

// QLabel would take this for a press; the key counts a double click as the one press before it.
void KeyLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_clickPending = false;
}

void KeyLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = event->button() == Qt::LeftButton && m_clickPending &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_clickPending = false;
    emit released();
    if (click)
        emit clicked();
}
