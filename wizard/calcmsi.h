#pragma once

#include <QWidget>
#include <array>

class ModSkinwright;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Page 2: the twelve key pictures, each named by a field with its own chooser, and an optional
// preview of the picture just chosen.
class CalcMsi : public QWidget
{
    Q_OBJECT

public:
    explicit CalcMsi(ModSkinwright &module, QWidget *parent = nullptr);

    static constexpr int PictureCount = 12; // digits 0 to 9, the answer, COPY

signals:
    void nextRequested(); // the twelve names are stored and this page is hidden: page 3 is due
    void endRequested();  // the window was closed

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    QString ChoosePicture();
    void cmdButton_Click(int index);
    void cmdNext_Click();
    void showPreview(const QString &path);

    ModSkinwright &mod;
    std::array<QLineEdit *, PictureCount> pictureFields; // in cmdButton index order
    std::array<QPushButton *, PictureCount> cmdButton;
    QLabel *imgPreview;
    QCheckBox *chkPreview;
    QPushButton *cmdNext;
};
