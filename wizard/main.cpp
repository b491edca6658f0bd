#include "pluginpaths.h"
#include "skinwizard.h"
#include "standardoptions.h"
#include "wizardpage.h"

#include <QApplication>

// Skinwright: the three-page wizard that writes a skin's calc.dat into its own folder.
int main(int argc, char *argv[])
{
    answerStandardOptions(argc, argv,
                          QCoreApplication::translate("Skinwright",
                                                      "電卓のスキンを作るウィザード。calc.dat を"
                                                      "このプログラムのフォルダーに書き込みます。"),
                          {SkinWizard::editOption()});
    keepPluginsOutOfTheProgramFolder();
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("picturecalc-skinwright"));
    app.setFont(proportionalFont());
    // Pages are hidden, not closed, as the user moves on; the wizard alone decides the end.
    app.setQuitOnLastWindowClosed(false);

    SkinWizard wizard(QCoreApplication::applicationDirPath());
    QObject::connect(&wizard, &SkinWizard::ended, &app, &QCoreApplication::quit);
    wizard.start(QCoreApplication::arguments());
    return app.exec();
}
