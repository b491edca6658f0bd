#pragma once

#include "calcsettings.h"
#include "dialogs.h"

#include <QList>
#include <QString>
#include <optional>

class QWidget;

// What the wizard's three pages share while the user works through them. The pages never read
// one another's controls: page 1 and 2 leave their values here and page 3 writes them out.
class ModSkinwright
{
public:
    QString AppPath;                       // the wizard's own folder, ending in a separator
    QList<dialogs::FileFilter> FileFilter; // the entries a page built for its latest chooser
    QString SavedText;                     // a page-2 field's text just before its chooser opened
    qint16 PrevLoaded = 0;                 // 1 once page 1 has loaded the previous settings
    CalcSettings WizardSettings;

    // The open-file dialog, first filter entry selected: the chosen file's full path, or an
    // empty text on cancel. Like the dialog the skins were always made with, a choice makes the
    // chosen file's folder the current folder, so the next chooser opens there.
    QString ChooseFile(QWidget *owner, const QList<dialogs::FileFilter> &filter,
                       const QString &initialFolder, const QString &title);

    // Selects the whole text of the focused field, so the next keystroke replaces it.
    static void SelectAllText();

    // The part of a path after its last folder separator ("/"; on Windows "\" as well).
    static QString StripPath(const QString &path);

    // Reads calc.dat in AppPath, untrimmed, over WizardSettings. A failed read leaves
    // WizardSettings exactly as it was.
    std::optional<SettingsError> ReadPrevSettings();

    static QList<dialogs::FileFilter> iconFilter();
    static QList<dialogs::FileFilter> pictureFilter();
};
