#pragma once

#include <QWidget>

class ModSkinwright;
class QLabel;
class QListWidget;
class QPushButton;

// Page 3: writes calc.dat into the wizard's folder and lists the files to hand on with it.
class CalcEnd : public QWidget
{
    Q_OBJECT

public:
    explicit CalcEnd(ModSkinwright &module, QWidget *parent = nullptr);

signals:
    void endRequested(); // "終了" or the window was closed

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void cmdKanryo_Click();

    ModSkinwright &mod;
    QLabel *lblMsg;
    QLabel *lblMsg2;
    QListWidget *lstFile;
    QPushButton *cmdKanryo;
    QPushButton *cmdSyuryo;
};
