#include "pictureerrors.h"

#include "pictureformats.h"

#include <QCoreApplication>

namespace {

// "BMP、JPEG、GIF、PNG、ICO のどれかにしてください。"
Sentence formatsToUse(SkinFileKind kind)
{
    QStringList names;
    for (const PictureFormat &format : formatsFor(kind))
        names << format.shownName;
    return {"pictures",
            QT_TRANSLATE_NOOP("pictures", "%1 のどれかにしてください。"),
            {names.join(u'、')}};
}

QList<Sentence> whatIsWrong(Error::Code code, const QStringList &arguments)
{
    const auto said = [&arguments](const char *source) {
        return QList<Sentence>{{"pictures", source, arguments}};
    };
    switch (code) {
    case Error::Code::FileMissing:
        return said(QT_TRANSLATE_NOOP("pictures", "ファイルがありません。"));
    case Error::Code::IsFolder:
    case Error::Code::NotRegularFile:
        return said(QT_TRANSLATE_NOOP("pictures", "通常のファイルではありません。"));
    case Error::Code::EmptyFile:
        return said(QT_TRANSLATE_NOOP("pictures", "ファイルが空です。"));
    case Error::Code::NotPicture:
        return said(QT_TRANSLATE_NOOP("pictures", "画像ではありません。"));
    case Error::Code::UnusableFormat:
        return said(QT_TRANSLATE_NOOP("pictures", "この形式（%1）の画像は使えません。"))
               << formatsToUse(SkinFileKind::Picture);
    case Error::Code::PictureTooLarge:
        return said(QT_TRANSLATE_NOOP("pictures", "大きすぎます（%1×%2）。"));
    case Error::Code::NotIcon:
        return said(QT_TRANSLATE_NOOP("pictures", "アイコンのファイルではありません。"))
               << formatsToUse(SkinFileKind::Icon);
    case Error::Code::Truncated:
        return said(QT_TRANSLATE_NOOP("pictures", "ファイルが途中で切れています。"));
    case Error::Code::BrokenPicture:
        return said(QT_TRANSLATE_NOOP("pictures", "画像が壊れています。"));
    default: // NoPermission, Unreadable
        return said(QT_TRANSLATE_NOOP("pictures", "ファイルを開けません。"));
    }
}

} // namespace

Error pictureError(Error::Code code, const QString &path, const QStringList &arguments)
{
    return Error(code, path, whatIsWrong(code, arguments));
}

Error skinFileError(const Error &fault, SkinFileKind kind, const QString &name)
{
    Sentence opening =
        kind == SkinFileKind::Icon
            ? Sentence{"pictures",
                       QT_TRANSLATE_NOOP("pictures", "アイコン「%1」を読み込めません。"),
                       {name}}
            : Sentence{"pictures",
                       QT_TRANSLATE_NOOP("pictures", "画像「%1」を読み込めません。"),
                       {name}};
    return Error(fault.code(), name, QList<Sentence>{std::move(opening)} + fault.sentences());
}

Error noFileNameError(SkinFileKind kind, const QString &key)
{
    return Error(
        Error::Code::NoFileName, key,
        {kind == SkinFileKind::Icon
             ? Sentence{"pictures",
                        QT_TRANSLATE_NOOP("pictures",
                                          "calc.dat の %1 にアイコンのファイル名がありません。"),
                        {key}}
             : Sentence{
                   "pictures",
                   QT_TRANSLATE_NOOP("pictures", "calc.dat の %1 に画像のファイル名がありません。"),
                   {key}}});
}
