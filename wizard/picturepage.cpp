#include "picturepage.h"

#include "filechooser.h"
#include "picturereader.h"
#include "skinname.h"
#include "skinrecord.h"
#include "twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using face::Holder;

namespace {

// The page lists the pictures by digit, 0 first, then the answer and COPY; the fields of the
// left column are 480 twips apart from the top, then those of the right column.
struct PictureField
{
    Holder holder;
    QString caption;
    QRect twips;
    bool latin;          // the first and third fields take file names without the input method
    bool selectsOnFocus; // those of the digits
};

PictureField pictureField(int index)
{
    const bool left = index < 6;
    const QRect twips(left ? 1380 : 3600, 180 + 480 * (index % 6), index == 2 ? 1725 : 1740, 285);
    const QString quoted = PicturePage::tr("\"%1\"入力時の画像");
    if (index == 10)
        return {Holder::Answer, PicturePage::tr("答え表示時の画像"), twips, false, false};
    if (index == 11)
        return {Holder::Copy, quoted.arg(QStringLiteral("COPY")), twips, false, false};
    return {face::digitHolder(index), quoted.arg(QChar(u'０' + index)), twips,
            index == 0 || index == 2, true};
}

} // namespace

PicturePage::PicturePage(SkinRecord &record, FileChooser &chooser)
    : WizardPage(QStringLiteral("picturePage"), 5730, 2985, true), m_record(record),
      m_chooser(chooser)
{
    QLabel *heading = addLabel(tr("数字入力時の画像"), {120, 120, 975, 435});
    heading->setFont(japaneseFont(QStringLiteral("IPAGothic"), 9.75));
    heading->setWordWrap(true);

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setGeometry(face::twipsToPixels(QRect(120, 660, 1095, 1155)));
    m_preview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_preview->setScaledContents(true);

    QLabel *previewLabel = addLabel(tr("ﾌﾟﾚﾋﾞｭｰ"), {180, 2040, 735, 195});
    previewLabel->setFont(japaneseFont(QStringLiteral("IPAPGothic"), 9, true));
    m_previewShown = new QCheckBox(this);
    m_previewShown->setGeometry(face::twipsToPixels(QRect(1020, 1980, 195, 315)));
    m_previewShown->setAccessibleName(previewLabel->text());
    QPushButton *next = addButton(tr("次へ"), {60, 2460, 1200, 420});

    std::array<QPushButton *, face::HolderCount> buttons;
    for (int index = 0; index < face::HolderCount; ++index) {
        const PictureField design = pictureField(index);
        const QRect at = design.twips;
        QLabel *label = addLabel(design.caption,
                                 {at.left() < 3600 ? at.left() : 3630, at.top() - 180, 1740, 255});
        m_fields[index] = addTextField(at, ValueLength, design.latin, design.selectsOnFocus);
        label->setBuddy(m_fields[index]); // names the field for assistive technology
        buttons[index] = addButton(tr("..."), {at.left() < 3600 ? 3120 : 5340, at.top(), 255, 315});
        buttons[index]->setAccessibleName(tr("%1を選ぶ").arg(label->text()));
        connect(buttons[index], &QPushButton::clicked, this, [this, index] { choose(index); });
        if (m_record.previousLoaded)
            m_fields[index]->setText(m_record.settings.keyPicture(design.holder));
    }
    connect(next, &QPushButton::clicked, this, &PicturePage::goOn);

    const auto &field = m_fields;
    const auto &button = buttons;
    setFocusOrder({field[0],  field[1],       field[2],  field[3],  next,      button[0],
                   button[1], m_previewShown, button[2], button[3], field[4],  button[4],
                   button[5], field[5],       button[6], field[6],  button[7], field[7],
                   button[8], field[8],       button[9], field[9],  field[10], button[10],
                   field[11], button[11]});
    field[0]->setFocus();
}

void PicturePage::choose(int index)
{
    QLineEdit *field = m_fields[index];
    const QString path = m_chooser.choose(this, FileChooser::pictureFilter());
    const auto taken = takeChosenFile(path, SkinFileKind::Picture, m_record.folder);
    if (const Error *error = std::get_if<Error>(&taken))
        return tell(*error);
    field->setText(std::get<QString>(taken));
    if (m_previewShown->isChecked())
        showPreview(field->text());
}

void PicturePage::goOn()
{
    for (QLineEdit *field : m_fields) {
        if (field->text().isEmpty()) {
            field->setFocus();
            tell(tr("画像を選択して下さい。"));
            return;
        }
    }
    // The last page could not write these, and no page leads back here.
    for (int index = 0; index < face::HolderCount; ++index)
        if (refuseUnwritable(m_fields[index], pictureField(index).caption))
            return;
    for (int index = 0; index < face::HolderCount; ++index)
        m_record.settings.keyPicture(pictureField(index).holder) = m_fields[index]->text();
    hide();
    emit nextRequested();
}

// The file the name means in the wizard's folder, found and read as the calculator will, at the
// size it is shown; whatever the calculator would refuse (no such file, not a regular file, not a
// picture, too large, cut short) clears the preview.
void PicturePage::showPreview(const QString &name)
{
    const auto found = findSkinFile(m_record.folder, name);
    const QString *path = std::get_if<QString>(&found);
    const qreal ratio = m_preview->devicePixelRatioF();
    const auto decoded =
        path ? picturereader::decodePicture(*path, m_preview->contentsRect().size() * ratio)
             : std::variant<QImage, Error>(std::get<Error>(found));
    const QImage *image = std::get_if<QImage>(&decoded);
    if (!image) {
        m_preview->clear();
        return;
    }
    QPixmap picture = QPixmap::fromImage(*image);
    picture.setDevicePixelRatio(ratio);
    m_preview->setPixmap(picture);
}
