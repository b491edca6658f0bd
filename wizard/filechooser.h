#pragma once

#include "dialogs.h"

#include <QString>

class QWidget;

// The open-file dialog behind every "..." of the wizard. Like the dialog the skins were always
// made with, it opens in the folder of the last choice, the wizard's own folder at first.
class FileChooser
{
public:
    explicit FileChooser(QString folder) : m_folder(std::move(folder)) {}

    // The chosen file's full path, or an empty text when the user cancelled.
    QString choose(QWidget *page, const QList<dialogs::FileFilter> &filters);

    static QList<dialogs::FileFilter> iconFilter();
    static QList<dialogs::FileFilter> pictureFilter(); // JPEG, bitmap, GIF: JPEG selected

private:
    QString m_folder;
};
