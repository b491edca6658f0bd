#include "calcend.h"

#include "distribution.h"
#include "modskinwright.h"
#include "wizardpage.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace wizardpage;

CalcEnd::CalcEnd(ModSkinwright &module, QWidget *parent) : QWidget(parent), mod(module)
{
    setObjectName(QStringLiteral("CalcEnd"));
    setUpWindow(this, 4515, 3195);

    lblMsg = addLabel(this, QStringLiteral("lblMsg"),
                      QStringLiteral("電卓 ｳｨｻﾞｰﾄﾞ設定ﾌｧｲﾙを生成します。"),
                      twipsRect(300, 60, 3675, 255));
    lblMsg2 = addLabel(this, QStringLiteral("lblMsg2"),
                       QStringLiteral("次のﾌｧｲﾙを同一ﾌｫﾙﾀﾞに入れて配布して下さい。"),
                       twipsRect(300, 360, 3735, 255));
    lblMsg2->hide();
    lstFile = new QListWidget(this);
    lstFile->setObjectName(QStringLiteral("lstFile"));
    lstFile->setGeometry(twipsRect(300, 660, 3795, 1860));
    lstFile->setAccessibleName(lblMsg2->text());
    // The two buttons share one place; "終了" appears only once calc.dat is written.
    cmdKanryo = addButton(this, QStringLiteral("cmdKanryo"), QStringLiteral("実行"),
                          twipsRect(1620, 2580, 1095, 495));
    cmdSyuryo = addButton(this, QStringLiteral("cmdSyuryo"), QStringLiteral("終了"),
                          twipsRect(1620, 2580, 1095, 495));
    cmdSyuryo->hide();

    setFocusOrder({cmdKanryo, cmdSyuryo, lstFile});
    connect(cmdKanryo, &QPushButton::clicked, this, &CalcEnd::cmdKanryo_Click);
    connect(cmdSyuryo, &QPushButton::clicked, this, &CalcEnd::endRequested);
    cmdKanryo->setFocus();
}

void CalcEnd::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit endRequested();
}

// On a failed write the page stays ready, with "実行" to try again; the previous calc.dat is
// left whole by the writer.
void CalcEnd::cmdKanryo_Click()
{
    if (const std::optional<SettingsError> error = WriteSettings(mod.AppPath, mod.WizardSettings)) {
        tell(this, QStringLiteral("設定ﾌｧｲﾙを書き込めませんでした。\n") + error->message(),
             QMessageBox::Warning);
        return;
    }
    lstFile->addItems(filesToDistribute(mod.WizardSettings, calcProgramName()));
    cmdKanryo->hide();
    cmdSyuryo->show();
    cmdSyuryo->setFocus();
    lblMsg->setText(QStringLiteral("終了しました。"));
    lblMsg2->show();
}
