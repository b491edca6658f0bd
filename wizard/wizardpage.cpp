#include "wizardpage.h"

#include "calcsettings.h"
#include "cp932.h"
#include "dialogs.h"
#include "japanesefonts.h"
#include "programicons.h"
#include "twips.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

// Runs handler for every event of one type that reaches a watched object, and lets it pass.
class EventHook : public QObject
{
public:
    EventHook(QObject *parent, QEvent::Type type, std::function<void(QEvent *)> handler)
        : QObject(parent), m_type(type), m_handler(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type)
            m_handler(event);
        return false;
    }

private:
    QEvent::Type m_type;
    std::function<void(QEvent *)> m_handler;
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

WizardPage::WizardPage(const QString &name, int widthTwips, int heightTwips, bool enterMovesOn)
    : m_enterMovesOn(enterMovesOn)
{
    setObjectName(name);
    setWindowTitle(Caption);
    setWindowIcon(programIcon(ProgramIcon::Skinwright));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(proportionalFont());
    const QSize size = face::twipsToPixels(QRect(0, 0, widthTwips, heightTwips)).size();
    setFixedSize(size);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(size.width(), size.height()) / 2);
}

// Enter, which no control of the pages takes itself, presses the push button that has the focus,
// as on the desktop the wizard comes from; elsewhere on the first two pages it moves the focus on
// as Tab does.
void WizardPage::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return QWidget::keyPressEvent(event);
    if (auto *button = qobject_cast<QPushButton *>(focusWidget())) {
        if (!event->isAutoRepeat()) // a held Enter presses once, and not the next page's button
            button->click();
    } else if (m_enterMovesOn)
        focusNextChild();
    else
        event->ignore();
}

void WizardPage::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit endRequested();
}

QLabel *WizardPage::addLabel(const QString &caption, const QRect &twips)
{
    auto *label = new QLabel(caption, this);
    label->setGeometry(face::twipsToPixels(twips));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton *WizardPage::addButton(const QString &caption, const QRect &twips)
{
    auto *button = new QPushButton(caption, this);
    button->setGeometry(face::twipsToPixels(twips));
    return button;
}

QLineEdit *WizardPage::addTextField(const QRect &twips, int maxLength, bool latin,
                                    bool selectsOnFocus)
{
    auto *field = new QLineEdit(this);
    field->setGeometry(face::twipsToPixels(twips));
    if (maxLength > 0)
        field->setMaxLength(maxLength);
    if (latin)
        field->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
    if (selectsOnFocus) {
        field->installEventFilter(new EventHook(field, QEvent::FocusIn, [field](QEvent *event) {
            field->selectAll();
            // A click that gave the focus places the cursor right after this: select again
            // once it has.
            if (static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason)
                QTimer::singleShot(0, field, &QLineEdit::selectAll);
        }));
    }
    return field;
}

void WizardPage::tell(const QString &text, QMessageBox::Icon icon)
{
    dialogs::showMessage(this, {text, Caption, icon});
}

bool WizardPage::refuseUnwritable(QLineEdit *field, const QString &what)
{
    const std::optional<QString> message = unwritable(what, field->text());
    if (!message)
        return false;
    field->setFocus();
    tell(*message, QMessageBox::Warning);
    return true;
}

bool WizardPage::refuseChosenName(const QString &fileName)
{
    if (fileName.size() > ValueLength) {
        tell(QStringLiteral("ﾌｧｲﾙ名が %1 文字を超えているため使えません。\n%2\n"
                            "%1 文字以内の名前のﾌｧｲﾙを選択して下さい。")
                 .arg(ValueLength)
                 .arg(fileName),
             QMessageBox::Warning);
        return true;
    }
    const std::optional<QString> message = unwritable(QStringLiteral("ﾌｧｲﾙ名"), fileName);
    if (message)
        tell(*message, QMessageBox::Warning);
    return message.has_value();
}

void whenFocusLeaves(QWidget *widget, std::function<void()> handler)
{
    widget->installEventFilter(new EventHook(
        widget, QEvent::FocusOut, [handler = std::move(handler)](QEvent *) { handler(); }));
}

void setFocusOrder(const QList<QWidget *> &order)
{
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QFont japaneseFont(const QString &family, qreal pointSize, bool bold)
{
    QFont font;
    font.setFamilies(japaneseFamilies({family}));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QFont proportionalFont()
{
    return japaneseFont(QStringLiteral("IPAPGothic"), 9);
}
