#include "wizardpage.h"

#include "cp932.h"
#include "dialogs.h"
#include "modskinwright.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace wizardpage {

namespace {

// Runs handler for every event of one type that reaches a watched object, and lets it pass.
class EventHook : public QObject
{
public:
    EventHook(QObject *parent, QEvent::Type type, std::function<void(QObject *, QEvent *)> handler)
        : QObject(parent), type(type), handler(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == type)
            handler(watched, event);
        return false;
    }

private:
    QEvent::Type type;
    std::function<void(QObject *, QEvent *)> handler;
};

std::optional<QString> unwritable(const QString &what, const QString &text)
{
    const std::optional<QString> character = encodeCp932(text).unrepresentable;
    if (!character)
        return std::nullopt;
    return QStringLiteral("%1の「%2」は設定ﾌｧｲﾙに保存できない文字です。\n%3\n"
                          "別の文字に変えて下さい。")
        .arg(what, *character, text);
}

} // namespace

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

void setUpWindow(QWidget *page, int widthTwips, int heightTwips)
{
    page->setWindowTitle(Caption);
    page->setWindowIcon(wizardIcon());
    page->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint);
    page->setFont(proportionalFont());
    const QSize size(px(widthTwips), px(heightTwips));
    page->setFixedSize(size);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        page->move(screen->availableGeometry().center() - QPoint(size.width(), size.height()) / 2);
}

QLabel *addLabel(QWidget *parent, const QString &name, const QString &caption,
                 const QRect &geometry)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton *addButton(QWidget *parent, const QString &name, const QString &caption,
                       const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

QLineEdit *addTextField(QWidget *parent, const QString &name, const QRect &geometry, int maxLength,
                        InputMethod inputMethod)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(geometry);
    if (maxLength > 0)
        field->setMaxLength(maxLength);
    if (inputMethod == InputMethod::Off)
        field->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
    return field;
}

void enterMovesFocus(QWidget *page)
{
    auto *hook = new EventHook(page, QEvent::KeyPress, [](QObject *watched, QEvent *event) {
        auto *widget = static_cast<QWidget *>(watched);
        const int key = static_cast<QKeyEvent *>(event)->key();
        // A key a widget ignores travels on to its parent, which is watched too: only the
        // focused widget answers, so one Enter moves the focus once.
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && widget->hasFocus())
            QCoreApplication::postEvent(
                widget, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
    });
    for (QWidget *child : page->findChildren<QWidget *>())
        child->installEventFilter(hook);
}

void selectAllOnFocus(QLineEdit *field)
{
    field->installEventFilter(
        new EventHook(field, QEvent::FocusIn, [field](QObject *, QEvent *event) {
            ModSkinwright::SelectAllText();
            // A click that gave the focus places the cursor right after this: select again
            // once it has.
            if (static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason)
                QTimer::singleShot(0, field, &ModSkinwright::SelectAllText);
        }));
}

void whenFocusLeaves(QWidget *widget, std::function<void()> handler)
{
    widget->installEventFilter(
        new EventHook(widget, QEvent::FocusOut,
                      [handler = std::move(handler)](QObject *, QEvent *) { handler(); }));
}

void setFocusOrder(const QList<QWidget *> &order)
{
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QFont japaneseFont(const QString &preferredFamily, qreal pointSize, bool bold)
{
    QString family = preferredFamily;
    if (!QFontDatabase::families().contains(preferredFamily)) {
        const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
        family = japanese.isEmpty() ? QFont().family() : japanese.first();
    }
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QFont proportionalFont()
{
    return japaneseFont(QStringLiteral("IPAPGothic"), 9);
}

QIcon wizardIcon()
{
    // A small calculator: a readout over a grid of keys.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 60, 70));
    painter.drawRoundedRect(QRectF(3, 1, 26, 30), 4, 4);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(6, 4, 20, 7));
    painter.setBrush(QColor(255, 200, 0));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            painter.drawRect(QRectF(6 + column * 7, 14 + row * 5.5, 5, 4));
    return QIcon(pixmap);
}

void tell(QWidget *page, const QString &text, QMessageBox::Icon icon)
{
    dialogs::showMessage(page, {text, Caption, icon});
}

bool refuseUnwritable(QLineEdit *field, const QString &what)
{
    const std::optional<QString> message = unwritable(what, field->text());
    if (!message)
        return false;
    field->setFocus();
    tell(field->window(), *message, QMessageBox::Warning);
    return true;
}

bool refuseChosenName(QWidget *page, const QString &fileName)
{
    if (fileName.size() > MaxNameLength) {
        tell(page,
             QStringLiteral("ﾌｧｲﾙ名が %1 文字を超えているため使えません。\n%2\n"
                            "%1 文字以内の名前のﾌｧｲﾙを選択して下さい。")
                 .arg(MaxNameLength)
                 .arg(fileName),
             QMessageBox::Warning);
        return true;
    }
    const std::optional<QString> message = unwritable(QStringLiteral("ﾌｧｲﾙ名"), fileName);
    if (message)
        tell(page, *message, QMessageBox::Warning);
    return message.has_value();
}

} // namespace wizardpage
