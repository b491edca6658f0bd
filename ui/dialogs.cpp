#include "dialogs.h"

#include <QFileDialog>

namespace dialogs {

namespace {
MessageAnswerer &messageAnswerer()
{
    static MessageAnswerer answerer;
    return answerer;
}

FileAnswerer &fileAnswerer()
{
    static FileAnswerer answerer;
    return answerer;
}
} // namespace

void showMessage(QWidget *parent, const Message &message)
{
    if (messageAnswerer()) {
        messageAnswerer()(message);
        return;
    }
    QMessageBox box(message.icon, message.title, message.text, QMessageBox::Ok, parent);
    box.exec();
}

QString chooseFile(QWidget *parent, const QList<FileFilter> &filters, const QString &initialFolder,
                   const QString &title)
{
    QStringList nameFilters;
    for (const FileFilter &filter : filters) {
        // "JPEGｲﾒｰｼﾞ(*.jpg)" already names its pattern the way Qt reads it.
        const QString named = QLatin1Char('(') + filter.pattern + QLatin1Char(')');
        nameFilters << (filter.description.endsWith(named)
                            ? filter.description
                            : QStringLiteral("%1 (%2)").arg(filter.description, filter.pattern));
    }
    QFileDialog dialog(parent, title, initialFolder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters);
    if (!nameFilters.isEmpty())
        dialog.selectNameFilter(nameFilters.first());
    if (fileAnswerer())
        return fileAnswerer()(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void setMessageAnswerer(MessageAnswerer answerer)
{
    messageAnswerer() = std::move(answerer);
}
void setFileAnswerer(FileAnswerer answerer)
{
    fileAnswerer() = std::move(answerer);
}

} // namespace dialogs
