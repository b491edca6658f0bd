#include "skinmessages.h"

#include "calcsettings.h"
#include "programstart.h"
#include "skinarchive.h"

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

// source is marked with QT_TRANSLATE_NOOP("skins", …) where it is written.
Error told(Error::Code code, const QString &subject, const char *source, QStringList arguments = {})
{
    return Error(code, subject, {{"skins", source, std::move(arguments)}});
}

constexpr const char *CannotRead = QT_TRANSLATE_NOOP("skins", "「%1」を読めません。");

} // namespace

Error notAnArchive(const QString &source)
{
    return told(Error::Code::NotSkinSource, source,
                QT_TRANSLATE_NOOP("skins", "「%1」はスキンの書庫でもフォルダでもありません。"),
                {shown(source)});
}

Error unreadable(const QString &source, const QString &reason)
{
    return told(Error::Code::Unreadable, source, CannotRead, {shown(source), reason});
}

Error unreadable(const QString &path, const Error &why)
{
    return why.after({"skins", CannotRead, {shown(path)}});
}

Error corrupt(const QString &source)
{
    return told(Error::Code::Corrupt, source,
                QT_TRANSLATE_NOOP("skins", "「%1」は壊れているか、途中で切れています。"),
                {shown(source)});
}

Error outsideName(const QString &source, const QString &entry)
{
    return told(Error::Code::NameOutsideSkin, source,
                QT_TRANSLATE_NOOP("skins", "「%1」には、外を指す名前「%2」があります。"),
                {shown(source), entry});
}

Error link(const QString &source, const QString &entry)
{
    return told(Error::Code::Link, source,
                QT_TRANSLATE_NOOP("skins", "「%1」には、リンク「%2」があります。"),
                {shown(source), entry});
}

Error specialFile(const QString &source, const QString &entry)
{
    return told(Error::Code::SpecialFile, source,
                QT_TRANSLATE_NOOP("skins", "「%1」には、特殊なファイル「%2」があります。"),
                {shown(source), entry});
}

Error caseTwins(const QString &source, const QString &first, const QString &second)
{
    return told(
        Error::Code::CaseTwins, source,
        QT_TRANSLATE_NOOP("skins",
                          "「%1」には、大文字と小文字の違いしかない名前「%2」と「%3」があります。"),
        {shown(source), first, second});
}

Error encrypted(const QString &source, const QString &entry)
{
    return told(Error::Code::Encrypted, source,
                QT_TRANSLATE_NOOP("skins", "「%1」の「%2」は暗号化されています。"),
                {shown(source), entry});
}

Error tooManyEntries(const QString &source)
{
    return told(Error::Code::TooManyEntries, source,
                QT_TRANSLATE_NOOP("skins", "「%1」は、ファイルが多すぎます (%2 個まで)。"),
                {shown(source), QString::number(MaxSkinEntries)});
}

Error fileTooLarge(const QString &source, const QString &entry)
{
    return told(Error::Code::FileTooLarge, source,
                QT_TRANSLATE_NOOP("skins", "「%1」の「%2」が大きすぎます (%3 MB まで)。"),
                {shown(source), entry, megabytes(MaxSkinFileBytes)});
}

Error skinTooLarge(const QString &source)
{
    return told(Error::Code::SkinTooLarge, source,
                QT_TRANSLATE_NOOP("skins", "「%1」は、展開すると大きすぎます (%2 MB まで)。"),
                {shown(source), megabytes(MaxSkinBytes)});
}

Error twoSkins(const QString &source, const QString &first, const QString &second)
{
    return told(
        Error::Code::TwoSkins, source,
        QT_TRANSLATE_NOOP("skins", "「%1」には、calc.dat が二つあります (「%2」と「%3」)。"),
        {shown(source), first, second});
}

Error empty(const QString &source)
{
    return told(Error::Code::EmptySkin, source, QT_TRANSLATE_NOOP("skins", "「%1」は空です。"),
                {shown(source)});
}

Error noCalcDat(const QString &source)
{
    return told(Error::Code::NoSettings, source,
                QT_TRANSLATE_NOOP("skins", "「%1」には、calc.dat がありません。"), {shown(source)});
}

Error badCalcDat(const QString &source, const Error &settingsError)
{
    return Error(
        Error::Code::SettingsUnreadable, source,
        {{"skins", QT_TRANSLATE_NOOP("skins", "「%1」の calc.dat を読めません。"), {shown(source)}},
         settingsError.sentences().constLast()});
}

Error cannotWrite(const QString &path)
{
    return told(Error::Code::Unwritable, path, QT_TRANSLATE_NOOP("skins", "%1 に書き込めません。"),
                {path});
}

Error unknownSkin(const QString &name)
{
    return told(Error::Code::UnknownSkin, name,
                QT_TRANSLATE_NOOP("skins", "スキン「%1」はありません。"), {name});
}

Error notInTrash(const QString &name)
{
    return told(Error::Code::NotInTrash, name,
                QT_TRANSLATE_NOOP("skins", "「%1」は、もうごみ箱にありません。"), {name});
}

// The folders are listed twice: between 」「 for the message, between commas for the gloss.
Error sharedTitle(const QString &title, const QStringList &names)
{
    return told(Error::Code::SharedTitle, title,
                QT_TRANSLATE_NOOP("skins",
                                  "「%1」という題名のスキンが %2 個あります (フォルダ「%3」)。"
                                  "どれか一つをフォルダ名で指定してください。"),
                {title, QString::number(names.size()), names.join(QStringLiteral("」「")),
                 names.join(QStringLiteral(", "))});
}

Error emptyTitle()
{
    return told(Error::Code::EmptyTitle, {}, QT_TRANSLATE_NOOP("skins", "名前を入れてください。"));
}

Error titleTooLong(const QString &title)
{
    return told(Error::Code::TitleTooLong, title,
                QT_TRANSLATE_NOOP("skins", "「%1」は長すぎます。名前は %2 文字までです。"),
                {title, QString::number(ValueLength)});
}

Error titleNotInCp932(const QString &title, const QString &character)
{
    return told(Error::Code::TitleNotInCodePage, title,
                QT_TRANSLATE_NOOP("skins", "「%1」の文字「%2」は calc.dat に書けません "
                                           "(Shift-JIS にない文字です)。"),
                {title, character});
}

Error titleTaken(const QString &title)
{
    return told(Error::Code::TitleTaken, title,
                QT_TRANSLATE_NOOP("skins", "「%1」という名前のスキンは既にあります。"), {title});
}

Error cannotStart(const QString &program)
{
    return told(Error::Code::CannotStart, program,
                QT_TRANSLATE_NOOP("skins", "%1 を起動できません。"), {program});
}

Error stopped()
{
    return told(Error::Code::Stopped, {}, QT_TRANSLATE_NOOP("skins", "取りやめました。"));
}

} // namespace skinmessages
