#include "dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QPushButton>
#include <QSpacerItem>

namespace dialogs {

namespace {
// Each kind of modal thing has one answerer, empty until a test sets it.
template <class Answerer> Answerer &answerer()
{
    static Answerer answerer;
    return answerer;
}

// Qt sizes a box for its text and leaves the title 50 pixels beside it, which a window manager's
// bolder title font, icon and buttons overrun: 「電卓 ｳｨｻﾞｰﾄﾞ」 came out as 「電卓...ｰﾄﾞ」. The box
// is made as wide as the title in a bold title-bar font plus room for the icon and three buttons.
void makeRoomForTitle(QMessageBox &box)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(box.windowTitle()) + 6 * metrics.height();
    if (auto *layout = qobject_cast<QGridLayout *>(box.layout()))
        layout->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                        layout->rowCount(), 0, 1, layout->columnCount());
}
} // namespace

void showMessage(QWidget *parent, const Message &message)
{
    if (answerer<MessageAnswerer>()) {
        answerer<MessageAnswerer>()(message);
        return;
    }
    QMessageBox box(message.icon, message.title, message.text, QMessageBox::Ok, parent);
    makeRoomForTitle(box);
    box.exec();
}

bool askYesNo(QWidget *parent, const Message &question)
{
    if (answerer<QuestionAnswerer>())
        return answerer<QuestionAnswerer>()(question);
    QMessageBox box(question.icon, question.title, question.text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("dialogs", "はい"));
    box.button(QMessageBox::No)->setText(QCoreApplication::translate("dialogs", "いいえ"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    makeRoomForTitle(box);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> askText(QWidget *parent, const Message &question, const QString &text)
{
    if (answerer<TextAnswerer>())
        return answerer<TextAnswerer>()(question, text);
    QInputDialog box(parent);
    box.setWindowTitle(question.title);
    box.setLabelText(question.text);
    box.setTextValue(text);
    box.setOkButtonText(QCoreApplication::translate("dialogs", "OK"));
    box.setCancelButtonText(QCoreApplication::translate("dialogs", "キャンセル"));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

namespace {
QString answerFileDialog(QFileDialog &dialog, const QList<FileFilter> &filters)
{
    QStringList nameFilters;
    for (const FileFilter &filter : filters) {
        // "JPEGｲﾒｰｼﾞ(*.jpg)" already names its pattern the way Qt reads it.
        const QString named = QLatin1Char('(') + filter.pattern + QLatin1Char(')');
        nameFilters << (filter.description.endsWith(named)
                            ? filter.description
                            : QStringLiteral("%1 (%2)").arg(filter.description, filter.pattern));
    }
    dialog.setNameFilters(nameFilters);
    if (!nameFilters.isEmpty())
        dialog.selectNameFilter(nameFilters.first());
    if (answerer<FileAnswerer>())
        return answerer<FileAnswerer>()(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}
} // namespace

QString chooseFile(QWidget *parent, const QList<FileFilter> &filters, const QString &initialFolder,
                   const QString &title)
{
    QFileDialog dialog(parent, title, initialFolder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return answerFileDialog(dialog, filters);
}

QString chooseSaveFile(QWidget *parent, const QList<FileFilter> &filters,
                       const QString &initialPath, const QString &title)
{
    QFileDialog dialog(parent, title, initialPath);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return answerFileDialog(dialog, filters);
}

void setMessageAnswerer(MessageAnswerer given)
{
    answerer<MessageAnswerer>() = std::move(given);
}
void setQuestionAnswerer(QuestionAnswerer given)
{
    answerer<QuestionAnswerer>() = std::move(given);
}
void setTextAnswerer(TextAnswerer given)
{
    answerer<TextAnswerer>() = std::move(given);
}
void setFileAnswerer(FileAnswerer given)
{
    answerer<FileAnswerer>() = std::move(given);
}

} // namespace dialogs
