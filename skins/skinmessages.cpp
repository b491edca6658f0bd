#include "skinmessages.h"

#include "calcsettings.h"
#include "skinarchive.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace skinmessages {

namespace {

// A limit in bytes as the messages give it, in whole megabytes.
QString megabytes(qint64 bytes)
{
    return QString::number(bytes >> 20);
}

QString shown(const QString &source)
{
    const QString name = QFileInfo(source).fileName();
    return name.isEmpty() ? source : name;
}

} // namespace

SkinError notAnArchive(const QString &source)
{
    return {QStringLiteral("「%1」はスキンの書庫でもフォルダでもありません。").arg(shown(source)),
            QStringLiteral("%1 is neither a skin archive nor a folder").arg(shown(source))};
}

SkinError unreadable(const QString &source, const QString &reason)
{
    return {QStringLiteral("「%1」を読めません。").arg(shown(source)),
            QStringLiteral("cannot read %1: %2").arg(shown(source), reason)};
}

SkinError corrupt(const QString &source)
{
    return {QStringLiteral("「%1」は壊れているか、途中で切れています。").arg(shown(source)),
            QStringLiteral("%1 is corrupt or truncated").arg(shown(source))};
}

SkinError outsideName(const QString &source, const QString &entry)
{
    return {QStringLiteral("「%1」には、外を指す名前「%2」があります。").arg(shown(source), entry),
            QStringLiteral("%1 holds a name leading outside it: %2").arg(shown(source), entry)};
}

SkinError link(const QString &source, const QString &entry)
{
    return {QStringLiteral("「%1」には、リンク「%2」があります。").arg(shown(source), entry),
            QStringLiteral("%1 holds a link: %2").arg(shown(source), entry)};
}

SkinError specialFile(const QString &source, const QString &entry)
{
    return {
        QStringLiteral("「%1」には、特殊なファイル「%2」があります。").arg(shown(source), entry),
        QStringLiteral("%1 holds a device or other special file: %2").arg(shown(source), entry)};
}

SkinError caseTwins(const QString &source, const QString &first, const QString &second)
{
    return {QStringLiteral("「%1」には、大文字と小文字の違いしかない名前「%2」と「%3」があります。")
                .arg(shown(source), first, second),
            QStringLiteral("%1 holds names that differ only by case: %2, %3")
                .arg(shown(source), first, second)};
}

SkinError encrypted(const QString &source, const QString &entry)
{
    return {QStringLiteral("「%1」の「%2」は暗号化されています。").arg(shown(source), entry),
            QStringLiteral("%2 in %1 is encrypted").arg(shown(source), entry)};
}

SkinError tooManyEntries(const QString &source)
{
    const QString limit = QString::number(MaxSkinEntries);
    return {
        QStringLiteral("「%1」は、ファイルが多すぎます (%2 個まで)。").arg(shown(source), limit),
        QStringLiteral("%1 holds more than %2 entries").arg(shown(source), limit)};
}

SkinError fileTooLarge(const QString &source, const QString &entry)
{
    const QString limit = megabytes(MaxSkinFileBytes);
    return {QStringLiteral("「%1」の「%2」が大きすぎます (%3 MB まで)。")
                .arg(shown(source), entry, limit),
            QStringLiteral("%2 in %1 is larger than %3 MB").arg(shown(source), entry, limit)};
}

SkinError skinTooLarge(const QString &source)
{
    const QString limit = megabytes(MaxSkinBytes);
    return {
        QStringLiteral("「%1」は、展開すると大きすぎます (%2 MB まで)。").arg(shown(source), limit),
        QStringLiteral("%1 unpacks to more than %2 MB").arg(shown(source), limit)};
}

SkinError twoSkins(const QString &source, const QString &first, const QString &second)
{
    return {QStringLiteral("「%1」には、calc.dat が二つあります (「%2」と「%3」)。")
                .arg(shown(source), first, second),
            QStringLiteral("%1 holds more than one calc.dat: %2, %3")
                .arg(shown(source), first, second)};
}

SkinError empty(const QString &source)
{
    return {QStringLiteral("「%1」は空です。").arg(shown(source)),
            QStringLiteral("%1 is empty").arg(shown(source))};
}

SkinError noCalcDat(const QString &source)
{
    return {QStringLiteral("「%1」には、calc.dat がありません。").arg(shown(source)),
            QStringLiteral("%1 holds no calc.dat").arg(shown(source))};
}

SkinError badCalcDat(const QString &source, const QString &reason)
{
    return {QStringLiteral("「%1」の calc.dat を読めません。%2").arg(shown(source), reason),
            QStringLiteral("cannot read calc.dat in %1").arg(shown(source))};
}

SkinError cannotWrite(const QString &path)
{
    return {QStringLiteral("%1 に書き込めません。").arg(path),
            QStringLiteral("cannot write %1").arg(path)};
}

SkinError unknownSkin(const QString &name)
{
    return {QStringLiteral("スキン「%1」はありません。").arg(name),
            QStringLiteral("no skin named %1").arg(name)};
}

SkinError notInTrash(const QString &name)
{
    return {
        QCoreApplication::translate("skinmessages", "「%1」は、もうごみ箱にありません。").arg(name),
        QStringLiteral("%1 is no longer in the trash").arg(name)};
}

SkinError sharedTitle(const QString &title, const QStringList &names)
{
    return {QCoreApplication::translate(
                "skinmessages", "「%1」という題名のスキンが %2 個あります (フォルダ「%3」)。"
                                "どれか一つをフォルダ名で指定してください。")
                .arg(title)
                .arg(names.size())
                .arg(names.join(QStringLiteral("」「"))),
            QStringLiteral("%1 skins are titled %2 (folders %3); give one by its folder name")
                .arg(names.size())
                .arg(title, names.join(QStringLiteral(", ")))};
}

SkinError emptyTitle()
{
    return {QCoreApplication::translate("skinmessages", "名前を入れてください。"),
            QStringLiteral("the name is empty")};
}

SkinError titleTooLong(const QString &title)
{
    return {
        QCoreApplication::translate("skinmessages", "「%1」は長すぎます。名前は %2 文字までです。")
            .arg(title)
            .arg(ValueLength),
        QStringLiteral("%1 is longer than %2 characters").arg(title).arg(ValueLength)};
}

SkinError titleNotInCp932(const QString &title, const QString &character)
{
    return {QCoreApplication::translate("skinmessages",
                                        "「%1」の文字「%2」は calc.dat に書けません "
                                        "(Shift-JIS にない文字です)。")
                .arg(title, character),
            QStringLiteral("%2 in %1 has no code in Shift-JIS").arg(title, character)};
}

SkinError titleTaken(const QString &title)
{
    return {QCoreApplication::translate("skinmessages", "「%1」という名前のスキンは既にあります。")
                .arg(title),
            QStringLiteral("a skin is named %1 already").arg(title)};
}

SkinError homeNotSet()
{
    return {QStringLiteral("HOME が設定されていません。"), QStringLiteral("HOME is not set.")};
}

SkinError cannotStart(const QString &program)
{
    return {QStringLiteral("%1 を起動できません。").arg(program),
            QStringLiteral("cannot run %1").arg(program)};
}

SkinError stopped()
{
    return {QStringLiteral("取りやめました。"), QStringLiteral("stopped")};
}

} // namespace skinmessages
