#include "calculatorwindow.h"

#include "calcengine.h"
#include "calcsettings.h"
#include "dialogs.h"
#include "facelook.h"
#include "keybutton.h"
#include "keys.h"
#include "keysounds.h"
#include "palette.h"
#include "programnames.h"
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
    return notice == calc::Notice::DivisionByZero
               ? CalculatorWindow::tr("ｾﾞﾛでは除算できません。")
               : CalculatorWindow::tr("計算できる範囲を超えました。");
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

struct CalculatorWindow::Private
{
    explicit Private(CalculatorWindow *window);

    void createKeys();
    void click(const Key &key);
    void copyReadout();
    void watchClipboard();
    void showOutcome(const calc::KeyOutcome &outcome);
    void setBackdrop(face::Holder holder);
    void setCaptionColours();
    void setCopyColour(QRgb colour);
    void abandon(const Error &error);

    CalculatorWindow *q;
    KeySounds sound;
    calc::CalcEngine engine;
    CalcSettings settings;
    SkinPictures *pictures = nullptr; // a child, made when the skin loads

    QLabel *backdrop;
    ReadoutLabel *readout;
    std::vector<KeyButton *> keys; // in the order of the face's key table
    KeyButton *copyKey = nullptr;
    QTimer *clipboardWatch;
    std::optional<QString> copiedText;
};

CalculatorWindow::Private::Private(CalculatorWindow *window)
    : q(window), engine(localeDecimalSeparator()), backdrop(new QLabel(window)),
      readout(new ReadoutLabel(QString::fromStdString(engine.readout()), window)),
      clipboardWatch(new QTimer(window))
{
}

CalculatorWindow::CalculatorWindow(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      d(std::make_unique<Private>(this))
{
    setFixedSize(face::windowPixels());

    d->backdrop->setObjectName(QStringLiteral("backdrop"));
    d->backdrop->setGeometry(face::backdropPixels());
    d->backdrop->setScaledContents(true);
    d->backdrop->setAttribute(Qt::WA_TransparentForMouseEvents);

    ReadoutLabel *readout = d->readout;
    readout->setGeometry(face::twipsToPixels(face::ReadoutTwips));
    readout->setAlignment(face::ReadoutAlignment);
    readout->setFont(face::captionFont(face::ReadoutPointSize));
    readout->setAutoFillBackground(true);
    QPalette readoutPalette = readout->palette();
    readoutPalette.setColor(QPalette::Window, face::ReadoutGround);
    readoutPalette.setColor(QPalette::WindowText, face::readoutColour({}));
    readout->setPalette(readoutPalette);

    d->createKeys();

    d->clipboardWatch->setObjectName(QStringLiteral("clipboardWatch"));
    d->clipboardWatch->setInterval(3000);
    connect(d->clipboardWatch, &QTimer::timeout, this, [this] { d->watchClipboard(); });

    // The window itself takes every key; no key takes the focus.
    setFocusPolicy(Qt::StrongFocus);
    setFocus();
}

CalculatorWindow::~CalculatorWindow() = default;

void CalculatorWindow::Private::createKeys()
{
    for (const Key &key : face::keys()) {
        auto *button = new KeyButton(QString::fromUtf8(key.caption), q);
        button->setGeometry(face::twipsToPixels(key.twips));
        button->setAccessibleName(QCoreApplication::translate("face", key.spokenName));
        button->setAlignment(face::CaptionAlignment);
        button->setFont(face::captionFont(key.pointSize));
        if (const auto colour = face::captionColour(key, {}))
            setTextColour(button, *colour);
        if (key.noteOffset) {
            const int offset = *key.noteOffset;
            connect(button, &KeyButton::mouseDown, q, [this, offset] { sound.noteOn(offset); });
            connect(button, &KeyButton::mouseUp, q, [this, offset] { sound.noteOff(offset); });
        }
        connect(button, &KeyButton::clicked, q, [this, &key] { click(key); });
        if (key.action == KeyAction::Copy)
            copyKey = button;
        keys.push_back(button);
    }
}

std::optional<Error> CalculatorWindow::loadSkin(const QString &folder)
{
    d->settings = CalcSettings{};
    if (auto error = readSettings(folder, Spaces::Trim, d->settings))
        return error;

    setWindowTitle(d->settings.title);
    setTextColour(d->readout, face::readoutColour(d->settings));
    d->setCaptionColours();

    d->pictures =
        new SkinPictures(folder, face::backdropPixels().size(), devicePixelRatioF(),
                         PictureCache::forUser(QProcessEnvironment::systemEnvironment()), this);
    if (auto error = d->pictures->loadStartPictures(d->settings))
        return error;
    connect(d->pictures, &SkinPictures::failed, this,
            [this](const Error &error) { d->abandon(error); });
    setWindowIcon(d->pictures->icon());
    d->backdrop->setPixmap(d->pictures->startPicture());

    d->engine = calc::CalcEngine(localeDecimalSeparator());
    d->readout->showNumber(QString::fromStdString(d->engine.readout()));
    setFocus();
    return std::nullopt;
}

void CalculatorWindow::playKeySounds(KeySounds sounds)
{
    d->sound = std::move(sounds);
}

void CalculatorWindow::decodeKeyPictures()
{
    if (d->pictures)
        d->pictures->startHolderDecoding();
}

void CalculatorWindow::Private::abandon(const Error &error)
{
    dialogs::showMessage(q, {error.message(), calculatorName(), QMessageBox::Warning});
    emit q->skinFailed();
}

void CalculatorWindow::Private::setCaptionColours()
{
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (const auto colour = face::captionColour(face::keys()[i], settings))
            setTextColour(keys[i], *colour);
    }
}

void CalculatorWindow::Private::click(const Key &key)
{
    switch (key.action) {
    case KeyAction::Digit:
        return showOutcome(engine.digit(key.digit));
    case KeyAction::Decimal:
        return showOutcome(engine.decimalPoint());
    case KeyAction::Add:
        return showOutcome(engine.operatorKey(calc::Operation::Add));
    case KeyAction::Subtract:
        return showOutcome(engine.operatorKey(calc::Operation::Subtract));
    case KeyAction::Multiply:
        return showOutcome(engine.operatorKey(calc::Operation::Multiply));
    case KeyAction::Divide:
        return showOutcome(engine.operatorKey(calc::Operation::Divide));
    case KeyAction::Equals:
        return showOutcome(engine.operatorKey(calc::Operation::Equals));
    case KeyAction::Percent:
        return showOutcome(engine.percent());
    case KeyAction::TaxIncluded:
        return showOutcome(engine.taxIncluded(settings.taxRate));
    case KeyAction::TaxExcluded:
        return showOutcome(engine.taxExcluded(settings.taxRate));
    case KeyAction::ClearEntry:
        return showOutcome(engine.clearEntry());
    case KeyAction::AllClear:
        return showOutcome(engine.allClear());
    case KeyAction::Copy:
        return copyReadout();
    }
}

// A notice comes while the previous readout is still shown, as the calculation meets it.
void CalculatorWindow::Private::showOutcome(const calc::KeyOutcome &outcome)
{
    if (outcome.notice != calc::Notice::None)
        dialogs::showMessage(q,
                             {noticeText(outcome.notice), calculatorName(), QMessageBox::Warning});
    readout->showNumber(QString::fromStdString(engine.readout()));
    if (outcome.digitEntered)
        setBackdrop(face::digitHolder(*outcome.digitEntered));
    if (outcome.answerShown)
        setBackdrop(face::Holder::Answer);
    // All clear turns the copy caption idle, though the clipboard may still hold the copy.
    if (outcome.allCleared)
        setCopyColour(face::LightBlue);
}

void CalculatorWindow::Private::setBackdrop(face::Holder holder)
{
    if (!pictures)
        return;
    // The backdrop shares the holder's decoded picture; nothing is copied or reloaded.
    if (const auto picture = pictures->holder(holder))
        backdrop->setPixmap(*picture);
}

void CalculatorWindow::Private::setCopyColour(QRgb colour)
{
    setTextColour(copyKey, colour);
}

// The copy key lights up and stays lit while the clipboard holds what it copied.
void CalculatorWindow::Private::copyReadout()
{
    const QString text = readout->text();
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    // A middle click pastes it too, where the platform has a primary selection.
    if (clipboard->supportsSelection())
        clipboard->setText(text, QClipboard::Selection);
    copiedText = text;
    setCopyColour(face::LightYellow);
    clipboardWatch->start();
    setBackdrop(face::Holder::Copy);
}

// Only the clipboard's text is asked for: a picture there is never transferred.
void CalculatorWindow::Private::watchClipboard()
{
    if (QGuiApplication::clipboard()->text() != copiedText) {
        setCopyColour(face::LightBlue);
        clipboardWatch->stop();
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
        d->sound.noteOn(*key->noteOffset);
    d->click(*key);
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
        d->sound.noteOff(*key->noteOffset);
    event->accept();
}

void CalculatorWindow::closeEvent(QCloseEvent *event)
{
    d->clipboardWatch->stop();
    d->sound.shutDown();
    event->accept();
}
