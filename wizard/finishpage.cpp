#include "finishpage.h"

#include "distribution.h"
#include "skinname.h"
#include "skinrecord.h"
#include "twips.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

// Each file as it is named on disk, where the calculator will find it ("Start.JPG" for
// "start.jpg", "img/back.jpg" for "img\back.jpg"); a name that finds no single file stays as
// calc.dat gives it. Two names that find one file list it once.
QStringList namedAsOnDisk(const QStringList &names, const QString &folder)
{
    QStringList files;
    for (const QString &name : names) {
        const auto found = findSkinFile(folder, name);
        const QString *path = std::get_if<QString>(&found);
        files << (path ? QDir(folder).relativeFilePath(*path) : name);
    }
    files.removeDuplicates();
    return files;
}

} // namespace

FinishPage::FinishPage(const SkinRecord &record)
    : WizardPage(QStringLiteral("finishPage"), 4515, 3195, false), m_record(record)
{
    m_message = addLabel(tr("電卓 ｳｨｻﾞｰﾄﾞ設定ﾌｧｲﾙを生成します。"), {300, 60, 3675, 255});
    m_message->setObjectName(QStringLiteral("message"));
    m_handOn = addLabel(tr("次のﾌｧｲﾙを同一ﾌｫﾙﾀﾞに入れて配布して下さい。"), {300, 360, 3735, 255});
    m_handOn->hide();
    // The list gives up two lines of its height to the shelf's way of sharing, under it.
    m_files = new QListWidget(this);
    m_files->setGeometry(face::twipsToPixels(QRect(300, 660, 3795, 1380)));
    m_files->setAccessibleName(m_handOn->text());
    m_shareHint =
        addLabel(tr("「電卓スキン」の「書き出し」なら、このスキンを1つのﾌｧｲﾙにして配布できます。"),
                 {300, 2085, 3795, 450});
    m_shareHint->setObjectName(QStringLiteral("shareHint"));
    m_shareHint->setWordWrap(true);
    m_shareHint->hide();
    // The two buttons share one place; "終了" appears only once calc.dat is written.
    m_write = addButton(tr("実行"), {1620, 2580, 1095, 495});
    m_end = addButton(tr("終了"), {1620, 2580, 1095, 495});
    m_end->hide();

    setFocusOrder({m_write, m_end, m_files});
    connect(m_write, &QPushButton::clicked, this, &FinishPage::write);
    connect(m_end, &QPushButton::clicked, this, &FinishPage::endRequested);
    m_write->setFocus();
}

// On a failed write the page stays ready, with "実行" to try again; the previous calc.dat is
// left whole by the writer.
void FinishPage::write()
{
    if (const std::optional<Error> error = writeSettings(m_record.folder, m_record.settings)) {
        tell(error
                 ->after({"FinishPage",
                          QT_TRANSLATE_NOOP("FinishPage", "設定ﾌｧｲﾙを書き込めませんでした。\n")})
                 .message(),
             QMessageBox::Warning);
        return;
    }
    m_files->addItems(
        namedAsOnDisk(filesToDistribute(m_record.settings, calcProgramName()), m_record.folder));
    m_write->hide();
    m_end->show();
    m_end->setFocus();
    m_message->setText(tr("終了しました。"));
    m_handOn->show();
    m_shareHint->show();
}
