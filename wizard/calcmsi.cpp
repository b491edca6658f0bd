#include "calcmsi.h"

#include "modskinwright.h"
#include "wizardpage.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace wizardpage;

namespace {

struct PictureField
{
    const char *name;
    const char *labelName;
    const char16_t *caption;
    QString CalcSettings::*feeds;
    int left;
    int top;
    InputMethod inputMethod;
    bool selectsOnFocus;
};

// In cmdButton index order, which is also the order "次へ" checks them in.
const std::array<PictureField, CalcMsi::PictureCount> PictureFields = {{
    {"txt0Bmp", "Label1", u"\"０\"入力時の画像", &CalcSettings::SglBmpA, 1380, 180,
     InputMethod::Off, true},
    {"txt1Bmp", "Label2", u"\"１\"入力時の画像", &CalcSettings::SglBmp1, 1380, 660, InputMethod::On,
     true},
    {"txt2Bmp", "Label3", u"\"２\"入力時の画像", &CalcSettings::SglBmp2, 1380, 1140,
     InputMethod::Off, true},
    {"txt3Bmp", "Label4", u"\"３\"入力時の画像", &CalcSettings::SglBmp3, 1380, 1620,
     InputMethod::On, true},
    {"txt4Bmp", "Label7", u"\"４\"入力時の画像", &CalcSettings::SglBmp4, 1380, 2100,
     InputMethod::On, true},
    {"txt5Bmp", "Label8", u"\"５\"入力時の画像", &CalcSettings::SglBmp5, 1380, 2580,
     InputMethod::On, true},
    {"txt6Bmp", "Label9", u"\"６\"入力時の画像", &CalcSettings::SglBmp6, 3600, 180, InputMethod::On,
     true},
    {"txt7Bmp", "Label10", u"\"７\"入力時の画像", &CalcSettings::SglBmp7, 3600, 660,
     InputMethod::On, true},
    {"txt8Bmp", "Label11", u"\"８\"入力時の画像", &CalcSettings::SglBmp8, 3600, 1140,
     InputMethod::On, true},
    {"txt9Bmp", "Label12", u"\"９\"入力時の画像", &CalcSettings::SglBmp9, 3600, 1620,
     InputMethod::On, true},
    {"txtEBmp", "Label13", u"答え表示時の画像", &CalcSettings::SglBmpE, 3600, 2100, InputMethod::On,
     false},
    {"txtCBmp", "Label14", u"\"COPY\"入力時の画像", &CalcSettings::SglBmpC, 3600, 2580,
     InputMethod::On, false},
}};

bool inLeftColumn(const PictureField &field)
{
    return field.left < 3600;
}

} // namespace

CalcMsi::CalcMsi(ModSkinwright &module, QWidget *parent) : QWidget(parent), mod(module)
{
    setObjectName(QStringLiteral("CalcMsi"));
    setUpWindow(this, 5730, 2985);

    QLabel *heading = addLabel(this, QStringLiteral("Label6"), QStringLiteral("数字入力時の画像"),
                               twipsRect(120, 120, 975, 435));
    heading->setFont(japaneseFont(QStringLiteral("IPAGothic"), 9.75));
    heading->setWordWrap(true);

    imgPreview = new QLabel(this);
    imgPreview->setObjectName(QStringLiteral("imgPreview"));
    imgPreview->setGeometry(twipsRect(120, 660, 1095, 1155));
    imgPreview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    imgPreview->setScaledContents(true);

    QLabel *previewLabel = addLabel(this, QStringLiteral("Label5"), QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"),
                                    twipsRect(180, 2040, 735, 195));
    previewLabel->setFont(japaneseFont(QStringLiteral("IPAPGothic"), 9, true));

    chkPreview = new QCheckBox(this);
    chkPreview->setObjectName(QStringLiteral("chkPreview"));
    chkPreview->setGeometry(twipsRect(1020, 1980, 195, 315));
    chkPreview->setAccessibleName(previewLabel->text());

    cmdNext = addButton(this, QStringLiteral("cmdNext"), QStringLiteral("次へ"),
                        twipsRect(60, 2460, 1200, 420));

    for (int index = 0; index < PictureCount; ++index) {
        const PictureField &design = PictureFields[index];
        const bool left = inLeftColumn(design);
        QLabel *label =
            addLabel(this, QLatin1String(design.labelName), QString::fromUtf16(design.caption),
                     twipsRect(left ? design.left : 3630, design.top - 180, 1740, 255));
        QLineEdit *field =
            addTextField(this, QLatin1String(design.name),
                         twipsRect(design.left, design.top, index == 2 ? 1725 : 1740, 285),
                         MaxNameLength, design.inputMethod);
        if (design.selectsOnFocus)
            selectAllOnFocus(field);
        label->setBuddy(field); // names the field for assistive technology
        pictureFields[index] = field;
        cmdButton[index] =
            addButton(this, QStringLiteral("cmdButton%1").arg(index), QStringLiteral("..."),
                      twipsRect(left ? 3120 : 5340, design.top, 255, 315));
        cmdButton[index]->setAccessibleName(label->text() + QStringLiteral("を選ぶ"));
        connect(cmdButton[index], &QPushButton::clicked, this,
                [this, index] { cmdButton_Click(index); });
    }
    connect(cmdNext, &QPushButton::clicked, this, &CalcMsi::cmdNext_Click);

    const auto &field = pictureFields;
    const auto &button = cmdButton;
    setFocusOrder({field[0],   field[1],  field[2],   field[3],  cmdNext,   button[0], button[1],
                   chkPreview, button[2], button[3],  field[4],  button[4], button[5], field[5],
                   button[6],  field[6],  button[7],  field[7],  button[8], field[8],  button[9],
                   field[9],   field[10], button[10], field[11], button[11]});
    enterMovesFocus(this);

    Form_Load();
    field[0]->setFocus();
}

void CalcMsi::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit endRequested();
}

void CalcMsi::Form_Load()
{
    if (mod.PrevLoaded != 1)
        return;
    for (int index = 0; index < PictureCount; ++index)
        pictureFields[index]->setText(mod.WizardSettings.*PictureFields[index].feeds);
}

QString CalcMsi::ChoosePicture()
{
    mod.FileFilter = ModSkinwright::pictureFilter();
    return mod.ChooseFile(this, mod.FileFilter, QDir::currentPath(), ChooserTitle);
}

void CalcMsi::cmdButton_Click(int index)
{
    QLineEdit *field = pictureFields[index];
    mod.SavedText = field->text();
    const QString name = ModSkinwright::StripPath(ChoosePicture());
    if (refuseChosenName(this, name)) {
        field->setText(mod.SavedText);
        return;
    }
    field->setText(name);
    // The preview shows the file of the wizard's folder, where the skin will be made.
    if (chkPreview->isChecked())
        showPreview(mod.AppPath + field->text());
}

void CalcMsi::cmdNext_Click()
{
    for (QLineEdit *field : pictureFields) {
        if (field->text().isEmpty()) {
            field->setFocus();
            tell(this, QStringLiteral("画像を選択して下さい。"));
            return;
        }
    }
    // The last page could not write these, and no page leads back here.
    for (int index = 0; index < PictureCount; ++index)
        if (refuseUnwritable(pictureFields[index],
                             QString::fromUtf16(PictureFields[index].caption)))
            return;
    for (int index = 0; index < PictureCount; ++index)
        mod.WizardSettings.*PictureFields[index].feeds = pictureFields[index]->text();
    hide();
    emit nextRequested();
}

// Decoded at the size it is shown, so a large photograph costs no more than a thumbnail.
// Anything that does not load (no such file, an empty name, not a picture) clears the preview.
void CalcMsi::showPreview(const QString &path)
{
    const qreal ratio = imgPreview->devicePixelRatioF();
    QImageReader reader(path);
    reader.setScaledSize(imgPreview->contentsRect().size() * ratio);
    const QImage image = reader.read();
    if (image.isNull()) {
        imgPreview->clear();
        return;
    }
    QPixmap picture = QPixmap::fromImage(image);
    picture.setDevicePixelRatio(ratio);
    imgPreview->setPixmap(picture);
}
