#pragma once

#include <QWidget>
#include <array>

class ModSkinwright;
class QButtonGroup;
class QLineEdit;
class QPushButton;

// Page 1: the calculator's title, icon, digit and button colours, start picture and tax rate,
// typed in or loaded from the previous calc.dat.
class CalcStWiz : public QWidget
{
    Q_OBJECT

public:
    // programFolder: the wizard's own folder; it becomes AppPath and the current folder.
    CalcStWiz(ModSkinwright &module, const QString &programFolder, QWidget *parent = nullptr);

    qint16 DigitColorIndex = 0;  // the selected button of optBackColor, stored as Color1
    qint16 ButtonColorIndex = 0; // the selected button of optColor, stored as Color2

signals:
    void nextRequested(); // the values are stored and this page is hidden: page 2 is due
    void endRequested();  // the window was closed

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load(const QString &programFolder);
    void optBackColor_Click(int index);
    void optColor_Click(int index);
    void cmdButton_Click(int index);
    void cmdNext_Click();
    void cmdZenkai_Click();
    void selectColour(QButtonGroup *group, int index);
    void reportColoursOutOfRange();

    ModSkinwright &mod;
    QLineEdit *txtTitle;
    QLineEdit *txtIcon;
    QLineEdit *txtStartBmp;
    QLineEdit *txtZei;
    QPushButton *cmdZenkai;
    QPushButton *cmdNext;
    std::array<QPushButton *, 2> cmdButton;
    QButtonGroup *optBackColor;
    QButtonGroup *optColor;
};
