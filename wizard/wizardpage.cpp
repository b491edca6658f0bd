#include "wizardpage.h"

#include "calcsettings.h"
#include "cp932.h"
#include "dialogs.h"
#include "filecopy.h"
#include "japanesefonts.h"
#include "picturereader.h"
#include "programicons.h"
#include "regularfile.h"
#include "twips.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
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

std::optional<QString> WizardPage::takeChosenFile(const QString &path, SkinFileKind kind,
                                                  const QString &folder)
{
    if (path.isEmpty())
        return QString();
    const QString name = QFileInfo(path).fileName();
    if (refuseChosenName(name) || refuseUnshowable(path, kind) || !bringIntoFolder(path, folder))
        return std::nullopt;
    return name;
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

// Decoded whole, as the calculator will: a picture cut short reads as a sane header.
bool WizardPage::refuseUnshowable(const QString &path, SkinFileKind kind)
{
    std::optional<PictureProblem> problem;
    if (kind == SkinFileKind::Icon) {
        const auto icon = picturereader::decodeIcon(path);
        if (const auto *iconProblem = std::get_if<PictureProblem>(&icon))
            problem = *iconProblem;
    } else {
        const auto picture = picturereader::decodePicture(path, QSize(1, 1));
        if (const auto *pictureProblem = std::get_if<PictureProblem>(&picture))
            problem = *pictureProblem;
    }
    if (problem)
        tell(problemMessage(*problem, kind, {}, QFileInfo(path).fileName()), QMessageBox::Warning);
    return problem.has_value();
}

// The calculator reads every file from the skin's folder, so a file chosen elsewhere is copied
// there as the chooser closes.
bool WizardPage::bringIntoFolder(const QString &path, const QString &folder)
{
    const QFileInfo chosen(path);
    const QFileInfo target(QDir(folder).filePath(chosen.fileName()));
    if (chosen.canonicalFilePath() == target.canonicalFilePath())
        return true;
    if (target.exists() || target.isSymLink()) {
        if (sameContents(path, target.filePath()))
            return true;
        const QString question =
            QStringLiteral("%1 には同じ名前の別のﾌｧｲﾙ「%2」が既にあります。\n"
                           "選択したﾌｧｲﾙで置き換えますか。")
                .arg(QDir::toNativeSeparators(QDir::cleanPath(folder)), chosen.fileName());
        if (!dialogs::askYesNo(this, {question, Caption, QMessageBox::Question}))
            return false;
    }
    if (const std::optional<QString> reason = copyFile(path, target.filePath())) {
        tell(
            QStringLiteral("「%1」を %2 にｺﾋﾟｰできませんでした（%3）。")
                .arg(chosen.fileName(), QDir::toNativeSeparators(QDir::cleanPath(folder)), *reason),
            QMessageBox::Warning);
        return false;
    }
    return true;
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
