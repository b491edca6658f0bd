#include "pictureproblem.h"

#include "pictureformats.h"

#include <QCoreApplication>

namespace {

// "BMP、JPEG、GIF、PNG、ICO のどれかにしてください。"
QString formatsToUse(SkinFileKind kind)
{
    QStringList names;
    for (const PictureFormat &format : formatsFor(kind))
        names << format.shownName;
    return QCoreApplication::translate("PictureProblem", "%1 のどれかにしてください。")
        .arg(names.join(u'、'));
}

QString whatIsWrong(const PictureProblem &problem)
{
    switch (problem.fault) {
    case PictureFault::NoName:
        break;
    case PictureFault::Missing:
        return QStringLiteral("ファイルがありません。");
    case PictureFault::Ambiguous:
        return QStringLiteral("名前が大文字と小文字だけ違うファイル「%1」があり、どれを使うか"
                              "決められません。")
            .arg(problem.candidates.join(QStringLiteral("」と「")));
    case PictureFault::NotRegularFile:
        return QStringLiteral("通常のファイルではありません。");
    case PictureFault::Unreadable:
        return QStringLiteral("ファイルを開けません。");
    case PictureFault::Empty:
        return QStringLiteral("ファイルが空です。");
    case PictureFault::NotPicture:
        return QStringLiteral("画像ではありません。");
    case PictureFault::UnusableFormat:
        return QCoreApplication::translate("PictureProblem", "この形式（%1）の画像は使えません。")
                   .arg(QString::fromLatin1(problem.format)) +
               formatsToUse(SkinFileKind::Picture);
    case PictureFault::TooLarge:
        return QStringLiteral("大きすぎます（%1×%2）。")
            .arg(problem.declaredSize.width())
            .arg(problem.declaredSize.height());
    case PictureFault::NotIcon:
        return QCoreApplication::translate("PictureProblem", "アイコンのファイルではありません。") +
               formatsToUse(SkinFileKind::Icon);
    case PictureFault::Truncated:
        return QStringLiteral("ファイルが途中で切れています。");
    case PictureFault::Broken:
        return QStringLiteral("画像が壊れています。");
    }
    return {};
}

} // namespace

QString problemMessage(const PictureProblem &problem, SkinFileKind kind, const QString &key,
                       const QString &name)
{
    const bool icon = kind == SkinFileKind::Icon;
    if (problem.fault == PictureFault::NoName) {
        return QStringLiteral("calc.dat の %1 に%2のファイル名がありません。")
            .arg(key, icon ? QStringLiteral("アイコン") : QStringLiteral("画像"));
    }
    const QString opening = icon ? QStringLiteral("アイコン「%1」を読み込めません。")
                                 : QStringLiteral("画像「%1」を読み込めません。");
    return opening.arg(name) + whatIsWrong(problem);
}
