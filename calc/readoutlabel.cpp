#include "readoutlabel.h"

#include <QAccessibleWidget>
#include <QFontMetrics>

namespace {

// The readout: named "表示", its number the value and the (read-only) text.
class ReadoutAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit ReadoutAccessible(ReadoutLabel *readout)
        : QAccessibleWidget(readout, QAccessible::StaticText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return number();
        return QAccessibleWidget::text(t);
    }

    QString text(int startOffset, int endOffset) const override
    {
        return number().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(number().size()); }

    // The number stands right-aligned in the label's contents.
    QRect characterRect(int offset) const override
    {
        const QString shown = number();
        if (offset < 0 || offset >= shown.size())
            return {};
        const QLabel *label = readout();
        const QFontMetrics metrics(label->font());
        const QRect contents = label->contentsRect();
        const int left = contents.right() + 1 - metrics.horizontalAdvance(shown) +
                         metrics.horizontalAdvance(shown.left(offset));
        const QRect local(left, contents.top(), metrics.horizontalAdvance(shown.at(offset)),
                          contents.height());
        return QRect(label->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        for (int offset = 0; offset < characterCount(); ++offset) {
            if (characterRect(offset).contains(point))
                return offset;
        }
        return -1;
    }

    // Nothing in the readout can be selected or edited, and there is no caret.
    void selection(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    const ReadoutLabel *readout() const { return static_cast<const ReadoutLabel *>(object()); }
    QString number() const { return readout()->text(); }
};

QAccessibleInterface *readoutAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("ReadoutLabel"))
        return new ReadoutAccessible(static_cast<ReadoutLabel *>(object));
    return nullptr;
}

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
    static const bool accessible = (QAccessible::installFactory(readoutAccessible), true);
    Q_UNUSED(accessible);
    setObjectName(QStringLiteral("readout"));
    setTextFormat(Qt::PlainText);
    setText(number);
    setAccessibleName(tr("表示"));
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
