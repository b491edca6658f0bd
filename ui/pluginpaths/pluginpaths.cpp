#include "pluginpaths.h"

#include <QCoreApplication>
#include <QFileInfo>

void keepPluginsOutOfTheProgramFolder()
{
    // Qt adds the program folder while it constructs the application object, then replays the
    // changes made to the paths before it: a path removed then is removed again. So the folder
    // is brought in first, through the variable Qt reads its extra paths from, and taken out.
    const QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (folder.isEmpty())
        return;
    const bool hadVariable = qEnvironmentVariableIsSet("QT_PLUGIN_PATH");
    const QByteArray variable = qgetenv("QT_PLUGIN_PATH");
    qputenv("QT_PLUGIN_PATH", variable + (variable.isEmpty() ? "" : ":") + folder.toLocal8Bit());
    QStringList paths = QCoreApplication::libraryPaths();
    if (hadVariable)
        qputenv("QT_PLUGIN_PATH", variable);
    else
        qunsetenv("QT_PLUGIN_PATH");
    paths.removeAll(folder);
    QCoreApplication::setLibraryPaths(paths);
}
