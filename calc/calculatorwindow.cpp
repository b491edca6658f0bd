#include "calculatorwindow.h"

#include "calcmessages.h"
#include "dialogs.h"
#include "facelook.h"
#include "keybutton.h"
#include "palette.h"
#include "readoutlabel.h"
#include "skinpictures.h"
#include "twips.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QTimer>

using face::Key;
using face::KeyAction;

namespace {

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QString noticeText(calc::Notice notice)
{
    return notice == calc::Notice::DivisionByZero ? QStringLiteral("ｾﾞﾛでは除算できません。")
                                                  : QStringLiteral("計算できる範囲を超えました。");
}

std::string localeDecimalSeparator()
{
    return QLocale::system().decimalPoint().toStdString();
}

// Qt's Wayland plugin leaves the keypad modifier off keypad keys; their keysym still tells them
// apart (XK_KP_Space .. XK_KP_Equal), under X11 as under Wayland.
bool isKeypadKey(const QKeyEvent *event)
{
    constexpr quint32 FirstKeypadKeysym = 0xff80;
    constexpr quint32 LastKeypadKeysym = 0xffbd;
    const quint32 keysym = event->nativeVirtualKey();
    return event->modifiers().testFlag(Qt::KeypadModifier) ||
           (keysym >= FirstKeypadKeysym && keysym <= LastKeypadKeysym);
}

const Key *keyOf(const QKeyEvent *event)
{
    return face::keyForKeyboard(event->key(), isKeypadKey(event));
}

} // namespace

CalculatorWindow::CalculatorWindow(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_engine(localeDecimalSeparator()), m_backdrop(new QLabel(this)),
      m_readout(new ReadoutLabel(QString::fromStdString(m_engine.readout()), this)),
      m_clipboardWatch(new QTimer(this))
{
    setFixedSize(face::windowPixels());

    m_backdrop->setObjectName(QStringLiteral("backdrop"));
    m_backdrop->setGeometry(face::backdropPixels());
    m_backdrop->setScaledContents(true);
    m_backdrop->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_readout->setGeometry(face::twipsToPixels(face::ReadoutTwips));
    m_readout->setAlignment(face::ReadoutAlignment);
    m_readout->setFont(face::captionFont(face::ReadoutPointSize));
    m_readout->setAutoFillBackground(true);
    QPalette readoutPalette = m_readout->palette();
    readoutPalette.setColor(QPalette::Window, face::ReadoutGround);
    readoutPalette.setColor(QPalette::WindowText, face::readoutColour({}));
    m_readout->setPalette(readoutPalette);

    createKeys();

    m_clipboardWatch->setObjectName(QStringLiteral("clipboardWatch"));
    m_clipboardWatch->setInterval(3000);
    connect(m_clipboardWatch, &QTimer::timeout, this, &CalculatorWindow::watchClipboard);

    // The window itself takes every key; no key takes the focus.
    setFocusPolicy(Qt::StrongFocus);
    setFocus();
}

void CalculatorWindow::createKeys()
{
    for (const Key &key : face::keys()) {
        auto *button = new KeyButton(QString::fromUtf8(key.caption), this);
        button->setGeometry(face::twipsToPixels(key.twips));
        button->setAccessibleName(QString::fromUtf8(key.spokenName));
        button->setAlignment(face::CaptionAlignment);
        button->setFont(face::captionFont(key.pointSize));
        if (const auto colour = face::captionColour(key, {}))
            setTextColour(button, *colour);
        if (key.noteOffset) {
            const int offset = *key.noteOffset;
            connect(button, &KeyButton::mouseDown, this,
                    [this, offset] { m_sound.noteOn(offset); });
            connect(button, &KeyButton::mouseUp, this, [this, offset] { m_sound.noteOff(offset); });
        }
        connect(button, &KeyButton::clicked, this, [this, &key] { click(key); });
        if (key.action == KeyAction::Copy)
            m_copyKey = button;
        m_keys.push_back(button);
    }
}

std::optional<QString> CalculatorWindow::loadSkin(const QString &folder)
{
    m_settings = CalcSettings{};
    if (const auto error = readSettings(folder, true, m_settings))
        return error->message();

    setWindowTitle(m_settings.title);
    setTextColour(m_readout, face::readoutColour(m_settings));
    setCaptionColours();

    m_pictures =
        new SkinPictures(folder, face::backdropPixels().size(), devicePixelRatioF(),
                         PictureCache::forUser(QProcessEnvironment::systemEnvironment()), this);
    if (const auto error = m_pictures->loadStartPictures(m_settings))
        return error->message();
    connect(m_pictures, &SkinPictures::failed, this, &CalculatorWindow::abandon);
    setWindowIcon(m_pictures->icon());
    m_backdrop->setPixmap(m_pictures->startPicture());

    m_engine = calc::CalcEngine(localeDecimalSeparator());
    m_readout->showNumber(QString::fromStdString(m_engine.readout()));
    setFocus();
    return std::nullopt;
}

void CalculatorWindow::playKeySounds(KeySounds sounds)
{
    m_sound = std::move(sounds);
}

void CalculatorWindow::decodeKeyPictures()
{
    if (m_pictures)
        m_pictures->startHolderDecoding();
}

void CalculatorWindow::abandon(const QString &message)
{
    dialogs::showMessage(this, {message, CalculatorTitle, QMessageBox::Warning});
    emit skinFailed();
}

void CalculatorWindow::setCaptionColours()
{
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        if (const auto colour = face::captionColour(face::keys()[i], m_settings))
            setTextColour(m_keys[i], *colour);
    }
}

void CalculatorWindow::click(const Key &key)
{
    switch (key.action) {
    case KeyAction::Digit:
        return showOutcome(m_engine.digit(key.digit));
    case KeyAction::Decimal:
        return showOutcome(m_engine.decimalPoint());
    case KeyAction::Add:
        return showOutcome(m_engine.operatorKey(calc::Operation::Add));
    case KeyAction::Subtract:
        return showOutcome(m_engine.operatorKey(calc::Operation::Subtract));
    case KeyAction::Multiply:
        return showOutcome(m_engine.operatorKey(calc::Operation::Multiply));
    case KeyAction::Divide:
        return showOutcome(m_engine.operatorKey(calc::Operation::Divide));
    case KeyAction::Equals:
        return showOutcome(m_engine.operatorKey(calc::Operation::Equals));
    case KeyAction::Percent:
        return showOutcome(m_engine.percent());
    case KeyAction::TaxIncluded:
        return showOutcome(m_engine.taxIncluded(m_settings.taxRate));
    case KeyAction::TaxExcluded:
        return showOutcome(m_engine.taxExcluded(m_settings.taxRate));
    case KeyAction::ClearEntry:
        return showOutcome(m_engine.clearEntry());
    case KeyAction::AllClear:
        return showOutcome(m_engine.allClear());
    case KeyAction::Copy:
        return copyReadout();
    }
}

// A notice comes while the previous readout is still shown, as the calculation meets it.
void CalculatorWindow::showOutcome(const calc::KeyOutcome &outcome)
{
    if (outcome.notice != calc::Notice::None)
        dialogs::showMessage(this,
                             {noticeText(outcome.notice), CalculatorTitle, QMessageBox::Warning});
    m_readout->showNumber(QString::fromStdString(m_engine.readout()));
    if (outcome.digitEntered)
        setBackdrop(face::digitHolder(*outcome.digitEntered));
    if (outcome.answerShown)
        setBackdrop(face::Holder::Answer);
    // All clear turns the copy caption idle, though the clipboard may still hold the copy.
    if (outcome.allCleared)
        setCopyColour(face::LightBlue);
}

void CalculatorWindow::setBackdrop(face::Holder holder)
{
    if (!m_pictures)
        return;
    // The backdrop shares the holder's decoded picture; nothing is copied or reloaded.
    if (const auto picture = m_pictures->holder(holder))
        m_backdrop->setPixmap(*picture);
}

void CalculatorWindow::setCopyColour(QRgb colour)
{
    setTextColour(m_copyKey, colour);
}

// The copy key lights up and stays lit while the clipboard holds what it copied.
void CalculatorWindow::copyReadout()
{
    const QString text = m_readout->text();
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    // A middle click pastes it too, where the platform has a primary selection.
    if (clipboard->supportsSelection())
        clipboard->setText(text, QClipboard::Selection);
    m_copiedText = text;
    setCopyColour(face::LightYellow);
    m_clipboardWatch->start();
    setBackdrop(face::Holder::Copy);
}

// Only the clipboard's text is asked for: a picture there is never transferred.
void CalculatorWindow::watchClipboard()
{
    if (QGuiApplication::clipboard()->text() != m_copiedText) {
        setCopyColour(face::LightBlue);
        m_clipboardWatch->stop();
    }
}

// Keypad digits start their note before the click runs.
void CalculatorWindow::keyPressEvent(QKeyEvent *event)
{
    const Key *key = keyOf(event);
    if (!key) {
        event->ignore();
        return;
    }
    if (key->noteOffset)
        m_sound.noteOn(*key->noteOffset);
    click(*key);
    event->accept();
}

// Auto-repeat sends a release before every repeated press; only the real release stops the note.
void CalculatorWindow::keyReleaseEvent(QKeyEvent *event)
{
    const Key *key = keyOf(event);
    if (!key || !key->noteOffset) {
        event->ignore();
        return;
    }
    if (!event->isAutoRepeat())
        m_sound.noteOff(*key->noteOffset);
    event->accept();
}

void CalculatorWindow::closeEvent(QCloseEvent *event)
{
    m_clipboardWatch->stop();
    m_sound.shutDown();
    event->accept();
}
