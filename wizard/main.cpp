#include "modskinwright.h"
#include "pluginpaths.h"
#include "qttexts.h"
#include "skinwrightflow.h"
#include "wizardpage.h"

#include <QApplication>

// Skinwright: the three-page wizard that writes a skin's calc.dat into its own folder.
int main(int argc, char *argv[])
{
    keepPluginsOutOfTheProgramFolder();
    QApplication app(argc, argv);
    useJapaneseQtTexts(app);
    app.setFont(wizardpage::proportionalFont());
    // Pages are hidden, not closed, as the user moves on; the flow alone decides the end.
    app.setQuitOnLastWindowClosed(false);

    ModSkinwright module;
    SkinwrightFlow flow(module, QCoreApplication::applicationDirPath());
    QObject::connect(&flow, &SkinwrightFlow::ended, &app, &QCoreApplication::quit);
    flow.start();
    return app.exec();
}
