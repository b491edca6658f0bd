#pragma once

#include <QMessageBox>
#include <QRect>
#include <QString>
#include <functional>

class QFont;
class QIcon;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// What the three pages have in common: their window, their fields, their keys and their voice.
namespace wizardpage {

inline const QString Caption = QStringLiteral("電卓 ｳｨｻﾞｰﾄﾞ");
inline const QString ChooserTitle = QStringLiteral("画像の選択");

// calc.dat keeps 20 characters of a value; a longer file name could not be loaded back.
constexpr int MaxNameLength = 20;

// Layout is designed in twips: 15 twips make one device-independent pixel.
constexpr int px(int twips)
{
    return (twips + 7) / 15;
}
QRect twipsRect(int left, int top, int width, int height);

// The caption, the wizard's icon, a fixed client size without minimise or maximise box,
// centred on the screen.
void setUpWindow(QWidget *page, int widthTwips, int heightTwips);

// Labels read from their top left, as the designed captions sit above and beside the fields.
QLabel *addLabel(QWidget *parent, const QString &name, const QString &caption,
                 const QRect &geometry);
QPushButton *addButton(QWidget *parent, const QString &name, const QString &caption,
                       const QRect &geometry);

// Latin for fields that take file names, the user's own input method for the title.
enum class InputMethod
{
    Unset,
    On,
    Off
};
QLineEdit *addTextField(QWidget *parent, const QString &name, const QRect &geometry, int maxLength,
                        InputMethod inputMethod);

// Key preview: Enter moves the focus on as Tab does, and is itself passed on unchanged.
// Covers the widgets the page holds when it is called.
void enterMovesFocus(QWidget *page);

// The field has its whole text selected when it receives the focus.
void selectAllOnFocus(QLineEdit *field);

// Runs handler whenever widget loses the focus.
void whenFocusLeaves(QWidget *widget, std::function<void()> handler);

// The widgets take the focus in this order, Tab and Enter moving forward through it.
void setFocusOrder(const QList<QWidget *> &order);

// The family the design names is not on this system; a Japanese-capable one stands in.
QFont japaneseFont(const QString &preferredFamily, qreal pointSize, bool bold = false);
QFont proportionalFont(); // stands in for "ＭＳ Ｐゴシック" 9 pt, the pages' own font

QIcon wizardIcon();

// A modal box with the wizard's caption and an OK button.
void tell(QWidget *page, const QString &text, QMessageBox::Icon icon = QMessageBox::NoIcon);

// Refuses a field whose text calc.dat (code page 932) cannot hold: the field takes the focus and
// a message names the character; what names the value ("タイトル"). True when it was refused.
bool refuseUnwritable(QLineEdit *field, const QString &what);

// Refuses a chosen file whose name calc.dat could not hold, too long or with such a character.
bool refuseChosenName(QWidget *page, const QString &fileName);

} // namespace wizardpage
