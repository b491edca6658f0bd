#include "programtexts.h"

#include <QTranslator>

const QTranslator &englishGlosses()
{
    static const QTranslator *const english = [] {
        auto *translator = new QTranslator;
        if (!translator->load(QStringLiteral(":/translations/picturecalc_en.qm")))
            qWarning("The English glosses are not built in.");
        return translator;
    }();
    return *english;
}
