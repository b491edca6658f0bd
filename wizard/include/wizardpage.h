#pragma once

#include "pictureerrors.h"

#include <QMessageBox>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <variant>

class QFont;
class QLabel;
class QLineEdit;
class QPushButton;

// What the three pages have in common: their window, their fields, their keys and their voice.
class WizardPage : public QWidget
{
    Q_OBJECT

public:
    static QString caption(); // 「電卓 ｳｨｻﾞｰﾄﾞ」

    // The caption, the wizard's icon, a fixed client size in twips without minimise or
    // maximise box, centred on the screen. enterMovesOn: Enter moves the focus as Tab does,
    // except on a push button, which Enter presses on every page.
    WizardPage(const QString &name, int widthTwips, int heightTwips, bool enterMovesOn);

signals:
    void nextRequested(); // the page stored what it holds and hid itself: the next one is due
    void endRequested();  // the window was closed, or "終了"

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    // Labels read from their top left, as each caption sits above or beside the field it names.
    QLabel *addLabel(const QString &caption, const QRect &twips);
    QPushButton *addButton(const QString &caption, const QRect &twips);
    // The field takes at most maxLength characters (0: any number); latin: file names, typed
    // without the input method. Its whole text is selected when it receives the focus.
    QLineEdit *addTextField(const QRect &twips, int maxLength, bool latin, bool selectsOnFocus);

    // A modal box with the wizard's caption and an OK button.
    void tell(const QString &text, QMessageBox::Icon icon = QMessageBox::NoIcon);
    // The error's message as a warning; nothing for work the user stopped.
    void tell(const Error &error);
    // Refuses a field whose text calc.dat (code page 932) cannot hold: the field takes the focus
    // and a message names the character; what names the value ("タイトル").
    bool refuseUnwritable(QLineEdit *field, const QString &what);
    // The file a chooser returned, made part of the skin in folder: refused when calc.dat could
    // not hold its name or the calculator could not show it; copied into folder when it lies
    // elsewhere, after asking before a different file of its name is replaced. The name to put
    // in the field (empty when the chooser was cancelled), or why the field stays as it was
    // (Stopped when the user kept the file there).
    std::variant<QString, Error> takeChosenFile(const QString &path, SkinFileKind kind,
                                                const QString &folder);

private:
    std::optional<Error> bringIntoFolder(const QString &path, const QString &folder);

    bool m_enterMovesOn;
};

// Runs handler whenever widget loses the focus.
void whenFocusLeaves(QWidget *widget, std::function<void()> handler);

// The widgets take the focus in this order, Tab and Enter moving forward through it.
void setFocusOrder(const QList<QWidget *> &order);

// A font of that family first, and Japanese ones to stand in for it where it is missing.
QFont japaneseFont(const QString &family, qreal pointSize, bool bold = false);
QFont proportionalFont(); // stands in for "ＭＳ Ｐゴシック" 9 pt, the pages' own font
