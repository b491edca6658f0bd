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
#include <QCoreApplication>
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

// what names the value ("タイトル").
std::optional<Error> unwritable(const QString &what, const QString &text)
{
    const std::optional<QString> character = encodeCp932(text).unrepresentable;
    if (!character)
        return std::nullopt;
    return Error(Error::Code::SettingsUnwritable, text,
                 {{"WizardPage",
                   QT_TRANSLATE_NOOP("WizardPage", "%1の「%2」は設定ﾌｧｲﾙに保存できない文字です。\n"
                                                   "%3\n別の文字に変えて下さい。"),
                   {what, *character, text}}});
}

std::optional<Error> chosenNameError(const QString &fileName)
{
    if (fileName.size() > ValueLength)
        return Error(
            Error::Code::SettingsUnwritable, fileName,
            {{"WizardPage",
              QT_TRANSLATE_NOOP("WizardPage", "ﾌｧｲﾙ名が %1 文字を超えているため使えません。"
                                              "\n%2\n%1 文字以内の名前のﾌｧｲﾙを選択して下さい。"),
              {QString::number(ValueLength), fileName}}});
    return unwritable(WizardPage::tr("ﾌｧｲﾙ名"), fileName);
}

// Decoded whole, as the calculator will: a picture cut short reads as a sane header.
std::optional<Error> unshowable(const QString &path, SkinFileKind kind)
{
    std::optional<Error> fault;
    if (kind == SkinFileKind::Icon) {
        const auto icon = picturereader::decodeIcon(path);
        if (const auto *iconError = std::get_if<Error>(&icon))
            fault = *iconError;
    } else {
        const auto picture = picturereader::decodePicture(path, QSize(1, 1));
        if (const auto *pictureError = std::get_if<Error>(&picture))
            fault = *pictureError;
    }
    if (fault)
        return skinFileError(*fault, kind, QFileInfo(path).fileName());
    return std::nullopt;
}

} // namespace

WizardPage::WizardPage(const QString &name, int widthTwips, int heightTwips, bool enterMovesOn)
    : m_enterMovesOn(enterMovesOn)
{
    setObjectName(name);
    setWindowTitle(caption());
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
// as in a Windows dialog, where the wizard's users made their skins first; elsewhere on the first
// two pages it moves the focus on as Tab does.
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

QString WizardPage::caption()
{
    return tr("電卓 ｳｨｻﾞｰﾄﾞ");
}

void WizardPage::tell(const QString &text, QMessageBox::Icon icon)
{
    dialogs::showMessage(this, {text, caption(), icon});
}

void WizardPage::tell(const Error &error)
{
    if (error.code() != Error::Code::Stopped)
        tell(error.message(), QMessageBox::Warning);
}

bool WizardPage::refuseUnwritable(QLineEdit *field, const QString &what)
{
    const std::optional<Error> error = unwritable(what, field->text());
    if (!error)
        return false;
    field->setFocus();
    tell(*error);
    return true;
}

std::variant<QString, Error> WizardPage::takeChosenFile(const QString &path, SkinFileKind kind,
                                                        const QString &folder)
{
    if (path.isEmpty())
        return QString();
    const QString name = QFileInfo(path).fileName();
    std::optional<Error> error = chosenNameError(name);
    if (!error)
        error = unshowable(path, kind);
    if (!error)
        error = bringIntoFolder(path, folder);
    if (error)
        return *error;
    return name;
}

// The calculator reads every file from the skin's folder, so a file chosen elsewhere is copied
// there as the chooser closes.
std::optional<Error> WizardPage::bringIntoFolder(const QString &path, const QString &folder)
{
    const QFileInfo chosen(path);
    const QFileInfo target(QDir(folder).filePath(chosen.fileName()));
    if (chosen.canonicalFilePath() == target.canonicalFilePath())
        return std::nullopt;
    const QString shownFolder = QDir::toNativeSeparators(QDir::cleanPath(folder));
    if (target.exists() || target.isSymLink()) {
        if (sameContents(path, target.filePath()))
            return std::nullopt;
        const QString question = tr("%1 には同じ名前の別のﾌｧｲﾙ「%2」が既にあります。\n"
                                    "選択したﾌｧｲﾙで置き換えますか。")
                                     .arg(shownFolder, chosen.fileName());
        if (!dialogs::askYesNo(this, {question, caption(), QMessageBox::Question}))
            return Error(Error::Code::Stopped, target.filePath(), {});
    }
    if (const std::optional<Error> error = copyFile(path, target.filePath()))
        return Error(
            error->code(), target.filePath(),
            {{"WizardPage",
              QT_TRANSLATE_NOOP("WizardPage", "「%1」を %2 にｺﾋﾟｰできませんでした（%3）。"),
              {chosen.fileName(), shownFolder, error->message()}}});
    return std::nullopt;
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
