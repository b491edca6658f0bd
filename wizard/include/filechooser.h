#pragma once

#include "dialogs.h"

#include <QString>

class QWidget;

// The open-file dialog behind every "..." of the wizard. It opens in the user's pictures at
// first, where the pictures for a skin are, then in the folder of the last choice.
class FileChooser
{
public:
    FileChooser();

    // The chosen file's full path, or an empty text when the user cancelled.
    QString choose(QWidget *page, const QList<dialogs::FileFilter> &filters);

    // Every format the calculator takes for the file in one filter, selected, then all files.
    static QList<dialogs::FileFilter> iconFilter();
    static QList<dialogs::FileFilter> pictureFilter();

private:
    QString m_folder;
};
