#include "frmcalc.h"

#include "dialogs.h"
#include "keylabel.h"
#include "modcalc.h"
#include "palettecolours.h"
#include "readoutlabel.h"
#include "skinpictures.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QTimer>

using calc::KeyAction;
using calc::KeyDescription;

namespace {

const QString CalculatorTitle = QStringLiteral("電卓");

// The captions were drawn in "ＭＳ Ｐゴシック"; IPAPGothic has the same metrics, and the others
// still carry the Japanese glyphs of "・", "Ｃ", "＝", "税込" and "税抜".
QFont captionFont(double pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")});
    font.setBold(true);
    font.setPixelSize(calc::pointsToPixels(pointSize));
    return font;
}

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
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

} // namespace

frmCalc::frmCalc(ModCalc &sound, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      sound(sound), engine(localeDecimalSeparator()), ImgHaikei(new QLabel(this)),
      Readout(new ReadoutLabel(QString::fromStdString(engine.readout()), this)),
      Timer1(new QTimer(this))
{
    setFixedSize(calc::twipsToPixels(calc::ClientWidthTwips),
                 calc::twipsToPixels(calc::ClientHeightTwips));

    ImgHaikei->setObjectName(QStringLiteral("ImgHaikei"));
    ImgHaikei->setGeometry(calc::twipsToPixels(calc::BackdropTwips));
    ImgHaikei->setScaledContents(true);
    ImgHaikei->setAttribute(Qt::WA_TransparentForMouseEvents);

    Readout->setObjectName(QStringLiteral("Readout"));
    Readout->setGeometry(calc::twipsToPixels(calc::ReadoutTwips));
    Readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Readout->setFont(captionFont(calc::ReadoutPointSize));
    Readout->setAutoFillBackground(true);
    QPalette readoutPalette = Readout->palette();
    readoutPalette.setColor(QPalette::Window, Qt::white);
    readoutPalette.setColor(QPalette::WindowText, calc::PaletteBlack);
    Readout->setPalette(readoutPalette);

    createKeys();

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(3000);
    connect(Timer1, &QTimer::timeout, this, &frmCalc::Timer1_Timer);

    // Key preview: the window itself takes every key; no key label takes the focus.
    setFocusPolicy(Qt::StrongFocus);
    setFocus();
}

void frmCalc::createKeys()
{
    for (const KeyDescription &key : calc::keyTable()) {
        auto *label = new KeyLabel(QString::fromUtf8(key.caption), this);
        label->setObjectName(QString::fromLatin1(key.name));
        label->setGeometry(calc::keyRect(key));
        label->setTextFormat(Qt::PlainText);
        label->setAccessibleName(QString::fromUtf8(key.spokenName));
        label->setFont(captionFont(key.pointSize));
        if (key.colour == calc::CaptionColour::Red)
            setTextColour(label, calc::PaletteLightRed);
        else if (key.colour == calc::CaptionColour::Blue)
            setTextColour(label, calc::PaletteLightBlue);
        if (key.noteOffset) {
            const int offset = *key.noteOffset;
            connect(label, &KeyLabel::pressed, this, [this, offset] { sound.NoteOn(offset); });
            connect(label, &KeyLabel::released, this, [this, offset] { sound.NoteOff(offset); });
        }
        connect(label, &KeyLabel::clicked, this, [this, &key] { click(key); });
        if (key.action == KeyAction::Copy)
            lblCopy = label;
        keyLabels.push_back(label);
    }
}

bool frmCalc::Form_Load(const QString &folder)
{
    settings = CalcSettings{};
    if (const auto error = ReadSettings(folder, true, settings)) {
        abandonStartUp(error->message());
        return false;
    }

    setWindowTitle(settings.Title);
    if (const auto colour = calc::colourOfIndex(settings.Color1))
        setTextColour(Readout, *colour);
    if (const auto colour = calc::colourOfIndex(settings.Color2))
        SetKeyColor(*colour);

    pictures = new SkinPictures(folder, ImgHaikei->size(), devicePixelRatioF(), this);
    if (const auto error = pictures->loadStartPictures(settings)) {
        abandonStartUp(*error);
        return false;
    }
    connect(pictures, &SkinPictures::failed, this, &frmCalc::abandonStartUp);
    setWindowIcon(pictures->icon());
    ImgHaikei->setPixmap(pictures->startPicture());
    shownHolder = calc::Holder::None;

    engine = calc::CalcEngine(localeDecimalSeparator());
    Readout->showNumber(QString::fromStdString(engine.readout()));
    setFocus();
    return true;
}

void frmCalc::startHolderDecoding()
{
    if (pictures)
        pictures->startHolderDecoding();
}

void frmCalc::abandonStartUp(const QString &message)
{
    // Before the window shows, the message stands alone in the middle of the screen.
    dialogs::showMessage(isVisible() ? this : nullptr,
                         {message, CalculatorTitle, QMessageBox::Warning});
    emit startUpAbandoned();
}

void frmCalc::SetKeyColor(const QColor &colour)
{
    for (std::size_t i = 0; i < keyLabels.size(); ++i) {
        if (calc::keyTable()[i].colour == calc::CaptionColour::KeyColour)
            setTextColour(keyLabels[i], colour);
    }
}

void frmCalc::click(const KeyDescription &key)
{
    using DigitClick = void (frmCalc::*)();
    static constexpr DigitClick DigitClicks[] = {
        &frmCalc::lbl0_Click, &frmCalc::lbl1_Click, &frmCalc::lbl2_Click, &frmCalc::lbl3_Click,
        &frmCalc::lbl4_Click, &frmCalc::lbl5_Click, &frmCalc::lbl6_Click, &frmCalc::lbl7_Click,
        &frmCalc::lbl8_Click, &frmCalc::lbl9_Click};

    switch (key.action) {
    case KeyAction::Digit:
        (this->*DigitClicks[key.index])();
        break;
    case KeyAction::Decimal:
        lblDecimal_Click();
        break;
    case KeyAction::Operator:
        Operator_Click(key.index);
        break;
    case KeyAction::Percent:
        Percent_Click();
        break;
    case KeyAction::Zeikomi:
        Zeikomi_Click();
        break;
    case KeyAction::Zeinuki:
        Zeinuki_Click();
        break;
    case KeyAction::CancelEntry:
        CancelEntry_Click();
        break;
    case KeyAction::Cancel:
        Cancel_Click();
        break;
    case KeyAction::Copy:
        lblCopy_Click();
        break;
    }
}

void frmCalc::lbl0_Click()
{
    showOutcome(engine.digit(0));
}
void frmCalc::lbl1_Click()
{
    showOutcome(engine.digit(1));
}
void frmCalc::lbl2_Click()
{
    showOutcome(engine.digit(2));
}
void frmCalc::lbl3_Click()
{
    showOutcome(engine.digit(3));
}
void frmCalc::lbl4_Click()
{
    showOutcome(engine.digit(4));
}
void frmCalc::lbl5_Click()
{
    showOutcome(engine.digit(5));
}
void frmCalc::lbl6_Click()
{
    showOutcome(engine.digit(6));
}
void frmCalc::lbl7_Click()
{
    showOutcome(engine.digit(7));
}
void frmCalc::lbl8_Click()
{
    showOutcome(engine.digit(8));
}
void frmCalc::lbl9_Click()
{
    showOutcome(engine.digit(9));
}
void frmCalc::lblDecimal_Click()
{
    showOutcome(engine.decimalPoint());
}
void frmCalc::Operator_Click(int Index)
{
    showOutcome(engine.operatorKey(Index));
}
void frmCalc::Percent_Click()
{
    showOutcome(engine.percent());
}
void frmCalc::Zeikomi_Click()
{
    showOutcome(engine.taxIncluded(settings.ZeiRitu));
}
void frmCalc::Zeinuki_Click()
{
    showOutcome(engine.taxExcluded(settings.ZeiRitu));
}
void frmCalc::CancelEntry_Click()
{
    showOutcome(engine.cancelEntry());
}
void frmCalc::Cancel_Click()
{
    showOutcome(engine.cancel());
}

// A notice comes while the previous readout is still shown, as the calculation meets it.
void frmCalc::showOutcome(const calc::KeyOutcome &outcome)
{
    if (outcome.notice != calc::Notice::None)
        dialogs::showMessage(this,
                             {noticeText(outcome.notice), CalculatorTitle, QMessageBox::Warning});
    Readout->showNumber(QString::fromStdString(engine.readout()));
    if (outcome.backdrop != calc::Holder::None)
        setBackdrop(outcome.backdrop);
    if (outcome.copyIndicatorIdle)
        setCopyColour(calc::PaletteLightBlue);
}

void frmCalc::setBackdrop(calc::Holder holder)
{
    shownHolder = holder;
    if (!pictures)
        return;
    // The backdrop shares the holder's decoded picture; nothing is copied or reloaded.
    if (const auto picture = pictures->holder(holder))
        ImgHaikei->setPixmap(*picture);
}

void frmCalc::setCopyColour(QRgb colour)
{
    setTextColour(lblCopy, colour);
}

void frmCalc::lblCopy_Click()
{
    const QString text = Readout->text();
    QGuiApplication::clipboard()->setText(text);
    CopiedText = text;
    setCopyColour(calc::PaletteLightYellow);
    Timer1->start();
    setBackdrop(calc::Holder::CP);
}

// Only the clipboard's text is asked for: a picture there is never transferred.
void frmCalc::Timer1_Timer()
{
    if (QGuiApplication::clipboard()->text() != CopiedText) {
        setCopyColour(calc::PaletteLightBlue);
        Timer1->stop();
    }
}

void frmCalc::Form_KeyDown(QKeyEvent *event)
{
    const KeyDescription *key =
        calc::keyForKeyboard(event->key(), event->modifiers().testFlag(Qt::KeypadModifier));
    if (!key) {
        event->ignore();
        return;
    }
    if (key->noteOffset)
        sound.NoteOn(*key->noteOffset);
    click(*key);
    event->accept();
}

// Auto-repeat sends a release before every repeated press; only the real release stops the note.
void frmCalc::Form_KeyUp(QKeyEvent *event)
{
    const KeyDescription *key =
        calc::keyForKeyboard(event->key(), event->modifiers().testFlag(Qt::KeypadModifier));
    if (!key || !key->noteOffset) {
        event->ignore();
        return;
    }
    if (!event->isAutoRepeat())
        sound.NoteOff(*key->noteOffset);
    event->accept();
}

void frmCalc::keyPressEvent(QKeyEvent *event)
{
    Form_KeyDown(event);
}

void frmCalc::keyReleaseEvent(QKeyEvent *event)
{
    Form_KeyUp(event);
}

void frmCalc::closeEvent(QCloseEvent *event)
{
    Timer1->stop();
    sound.shutDown();
    event->accept();
}
