#include "programtexts.h"

#include "error.h"

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

QString commandLineText(const Error &error)
{
    const QString gloss = error.message(englishGlosses());
    return gloss.isEmpty() ? error.message() : error.message() + u'(' + gloss + u')';
}
