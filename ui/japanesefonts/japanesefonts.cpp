#include "japanesefonts.h"

QStringList japaneseFamilies(const QStringList &preferred)
{
    return preferred + QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                   QStringLiteral("Noto Sans CJK JP"),
                                   QStringLiteral("VL PGothic")};
}

QStringList msPGothicFamilies()
{
    return japaneseFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic")});
}
