#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QFileDialog;
class QWidget;

// The programs' modal boxes and the file dialogs, behind one seam so that tests
// can answer them without a person.
namespace dialogs {

struct Message
{
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Shows a modal message with a single OK button and returns when it is closed.
void showMessage(QWidget *parent, const Message &message);

// Asks a modal question with the buttons 「はい」 and 「いいえ」: true for 「はい」. Escape and
// closing the box answer 「いいえ」, as does Enter unless the user moved to 「はい」.
bool askYesNo(QWidget *parent, const Message &question);

// Asks for one line of text in a modal box with 「OK」 and 「キャンセル」, the box opening with
// text: what was entered, or nothing on cancel.
std::optional<QString> askText(QWidget *parent, const Message &question, const QString &text);

// One filter entry of the open-file dialog: a description and its pattern, e.g. "*.jpg".
struct FileFilter
{
    QString description;
    QString pattern;
};

// The open-file dialog: the full path of the chosen file, or an empty text on cancel.
QString chooseFile(QWidget *parent, const QList<FileFilter> &filters, const QString &initialFolder,
                   const QString &title);

// The save-file dialog, opened on initialPath (a folder and a proposed name): the full path
// chosen, or an empty text on cancel.
QString chooseSaveFile(QWidget *parent, const QList<FileFilter> &filters,
                       const QString &initialPath, const QString &title);

// Tests install answerers; passing an empty function restores the real dialogs. A file answerer
// is handed the dialog as it would have been shown and answers with a path or nothing.
using MessageAnswerer = std::function<void(const Message &)>;
using QuestionAnswerer = std::function<bool(const Message &)>;
using FileAnswerer = std::function<QString(QFileDialog &dialog)>;
using TextAnswerer = std::function<std::optional<QString>(const Message &, const QString &text)>;
void setMessageAnswerer(MessageAnswerer answerer);
void setQuestionAnswerer(QuestionAnswerer answerer);
void setFileAnswerer(FileAnswerer answerer);
void setTextAnswerer(TextAnswerer answerer);

} // namespace dialogs
