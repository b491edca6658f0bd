#include "qttexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void useJapaneseQtTexts(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}
