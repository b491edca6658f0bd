#include "calcstwiz.h"

#include "modskinwright.h"
#include "wizardpage.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace wizardpage;

namespace {

struct ColourButton
{
    const char16_t *caption;
    int left;
    int width;
};

// 黒 and 白 reach to their right neighbour: the designed 435 twips leave no room for the
// caption beside this style's wider indicator.
constexpr std::array<ColourButton, 6> ColourButtons = {{{u"黒", 105, 555},
                                                        {u"白", 660, 540},
                                                        {u"青", 1200, 645},
                                                        {u"赤", 1740, 645},
                                                        {u"黄", 2280, 495},
                                                        {u"緑", 2835, 495}}};

bool isColourIndex(int index)
{
    return index >= 0 && index < int(ColourButtons.size());
}

// A frame without caption holding the six colour buttons; the button's index is its id.
QButtonGroup *addColourGroup(QWidget *page, const QString &frameName, const QString &name,
                             const QRect &at)
{
    auto *frame = new QGroupBox(page);
    frame->setObjectName(frameName);
    frame->setGeometry(at);
    auto *group = new QButtonGroup(page);
    for (int index = 0; index < int(ColourButtons.size()); ++index) {
        const ColourButton &colour = ColourButtons[index];
        auto *button = new QRadioButton(QString::fromUtf16(colour.caption), frame);
        button->setObjectName(name + QString::number(index));
        button->setGeometry(twipsRect(colour.left, 180, colour.width, 225));
        group->addButton(button, index);
    }
    return group;
}

// Tab reaches a colour group at its selected button only (at its first while none is).
void keepSelectedInTabChain(QButtonGroup *group)
{
    const QList<QAbstractButton *> buttons = group->buttons();
    for (QAbstractButton *button : buttons) {
        const bool reachable =
            group->checkedButton() ? button->isChecked() : button == buttons.first();
        button->setFocusPolicy(reachable ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

QList<QWidget *> groupButtons(QButtonGroup *group, const QList<int> &indexOrder)
{
    QList<QWidget *> buttons;
    for (int index : indexOrder)
        buttons << group->button(index);
    return buttons;
}

} // namespace

CalcStWiz::CalcStWiz(ModSkinwright &module, const QString &programFolder, QWidget *parent)
    : QWidget(parent), mod(module)
{
    setObjectName(QStringLiteral("CalcStWiz"));
    setUpWindow(this, 4515, 3195);

    cmdZenkai = addButton(this, QStringLiteral("cmdZenkai"), QStringLiteral("前回の情報　読込"),
                          twipsRect(45, 30, 1920, 345));
    addLabel(this, QStringLiteral("Label1"), QStringLiteral("タイトル"),
             twipsRect(180, 480, 675, 195));
    txtTitle = addTextField(this, QStringLiteral("txtTitle"), twipsRect(1020, 420, 3240, 285),
                            MaxNameLength, InputMethod::On);
    addLabel(this, QStringLiteral("Label2"), QStringLiteral("アイコン"),
             twipsRect(180, 840, 810, 210));
    txtIcon = addTextField(this, QStringLiteral("txtIcon"), twipsRect(1020, 780, 3000, 285),
                           MaxNameLength, InputMethod::Off);
    cmdButton[0] = addButton(this, QStringLiteral("cmdButton0"), QStringLiteral("..."),
                             twipsRect(4020, 780, 255, 315));
    addLabel(this, QStringLiteral("Label3"), QStringLiteral("数字色"),
             twipsRect(180, 1320, 795, 255));
    optBackColor = addColourGroup(this, QStringLiteral("frmBackColor"),
                                  QStringLiteral("optBackColor"), twipsRect(1020, 1140, 3375, 465));
    addLabel(this, QStringLiteral("Label4"), QStringLiteral("ﾎﾞﾀﾝ色"),
             twipsRect(180, 1860, 720, 225));
    optColor = addColourGroup(this, QStringLiteral("frmColor"), QStringLiteral("optColor"),
                              twipsRect(1020, 1680, 3375, 465));
    addLabel(this, QStringLiteral("Label5"), QStringLiteral("開始画像"),
             twipsRect(120, 2280, 840, 195));
    txtStartBmp = addTextField(this, QStringLiteral("txtStartBmp"),
                               twipsRect(1005, 2220, 3000, 285), MaxNameLength, InputMethod::Off);
    cmdButton[1] = addButton(this, QStringLiteral("cmdButton1"), QStringLiteral("..."),
                             twipsRect(4005, 2220, 255, 315));
    addLabel(this, QStringLiteral("Label6"), QStringLiteral("消費税率"),
             twipsRect(120, 2700, 795, 255));
    txtZei = addTextField(this, QStringLiteral("txtZei"), twipsRect(1020, 2640, 495, 315), 0,
                          InputMethod::Unset);
    addLabel(this, QStringLiteral("Label7"), QStringLiteral("％"), twipsRect(1560, 2700, 315, 255));
    cmdNext = addButton(this, QStringLiteral("cmdNext"), QStringLiteral("次へ"),
                        twipsRect(3420, 2640, 1005, 420));

    // Assistive technology names each field by its label, and "..." by what it chooses.
    for (const auto &[label, field] : {std::pair<const char *, QWidget *>{"Label1", txtTitle},
                                       {"Label2", txtIcon},
                                       {"Label5", txtStartBmp},
                                       {"Label6", txtZei}})
        findChild<QLabel *>(QLatin1String(label))->setBuddy(field);
    findChild<QGroupBox *>(QStringLiteral("frmBackColor"))
        ->setAccessibleName(QStringLiteral("数字色"));
    findChild<QGroupBox *>(QStringLiteral("frmColor"))->setAccessibleName(QStringLiteral("ﾎﾞﾀﾝ色"));
    cmdButton[0]->setAccessibleName(QStringLiteral("アイコンを選ぶ"));
    cmdButton[1]->setAccessibleName(QStringLiteral("開始画像を選ぶ"));

    setFocusOrder(QList<QWidget *>{txtTitle, txtIcon, cmdNext, cmdZenkai} +
                  groupButtons(optColor, {0, 1, 2, 3, 4, 5}) + QList<QWidget *>{cmdButton[0]} +
                  groupButtons(optBackColor, {5, 4, 3, 2, 1, 0}) +
                  QList<QWidget *>{cmdButton[1], txtStartBmp, txtZei});
    for (QLineEdit *field : {txtTitle, txtIcon, txtStartBmp})
        selectAllOnFocus(field);
    // Focus also leaves while the page is being destroyed, when it is no CalcStWiz any more:
    // the handlers hold the module and the field, not the page.
    whenFocusLeaves(txtTitle, [&m = mod, f = txtTitle] { m.WizardSettings.Title = f->text(); });
    whenFocusLeaves(txtIcon, [&m = mod, f = txtIcon] { m.WizardSettings.Icon = f->text(); });
    enterMovesFocus(this);

    connect(optBackColor, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked)
            optBackColor_Click(index);
        keepSelectedInTabChain(optBackColor);
    });
    connect(optColor, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked)
            optColor_Click(index);
        keepSelectedInTabChain(optColor);
    });
    for (int index = 0; index < int(cmdButton.size()); ++index)
        connect(cmdButton[index], &QPushButton::clicked, this,
                [this, index] { cmdButton_Click(index); });
    connect(cmdNext, &QPushButton::clicked, this, &CalcStWiz::cmdNext_Click);
    connect(cmdZenkai, &QPushButton::clicked, this, &CalcStWiz::cmdZenkai_Click);

    Form_Load(programFolder);
    txtTitle->setFocus();
}

void CalcStWiz::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit endRequested();
}

void CalcStWiz::Form_Load(const QString &programFolder)
{
    mod.AppPath = programFolder.endsWith(u'/') ? programFolder : programFolder + u'/';
    QDir::setCurrent(mod.AppPath);
    selectColour(optBackColor, 0);
    selectColour(optColor, 0);
    DigitColorIndex = 0;
    ButtonColorIndex = 0;
    mod.PrevLoaded = 0;
}

void CalcStWiz::optBackColor_Click(int index)
{
    DigitColorIndex = qint16(index);
    mod.WizardSettings.Color1 = qint16(index);
}

void CalcStWiz::optColor_Click(int index)
{
    ButtonColorIndex = qint16(index);
    mod.WizardSettings.Color2 = qint16(index);
}

void CalcStWiz::cmdButton_Click(int index)
{
    QLineEdit *field = index == 0 ? txtIcon : txtStartBmp;
    mod.FileFilter = index == 0 ? ModSkinwright::iconFilter() : ModSkinwright::pictureFilter();
    const QString name = ModSkinwright::StripPath(
        mod.ChooseFile(this, mod.FileFilter, QDir::currentPath(), ChooserTitle));
    if (refuseChosenName(this, name))
        return;
    field->setText(name);
}

void CalcStWiz::cmdNext_Click()
{
    if (txtIcon->text().isEmpty()) {
        txtIcon->setFocus();
        tell(this, QStringLiteral("画像を選択して下さい。"));
        return;
    }
    const std::optional<qint16> zeiRitu = wholeNumber(txtZei->text());
    if (!zeiRitu) {
        txtZei->setFocus();
        txtZei->selectAll();
        tell(this, QStringLiteral("消費税率は -32768 から 32767 までの数値で入力して下さい。"),
             QMessageBox::Warning);
        return;
    }
    // The last page could not write these, and no page leads back here.
    if (refuseUnwritable(txtTitle, QStringLiteral("タイトル")) ||
        refuseUnwritable(txtIcon, QStringLiteral("アイコン")) ||
        refuseUnwritable(txtStartBmp, QStringLiteral("開始画像")))
        return;
    CalcSettings &settings = mod.WizardSettings;
    settings.Title = txtTitle->text();
    settings.Icon = txtIcon->text();
    settings.Color1 = DigitColorIndex;
    settings.Color2 = ButtonColorIndex;
    settings.StartBmp = txtStartBmp->text();
    settings.ZeiRitu = *zeiRitu;
    hide();
    emit nextRequested();
}

void CalcStWiz::cmdZenkai_Click()
{
    if (const std::optional<SettingsError> error = mod.ReadPrevSettings()) {
        tell(this, QStringLiteral("前回の情報を読み込めませんでした。\n") + error->message(),
             QMessageBox::Warning);
        return;
    }
    const CalcSettings &settings = mod.WizardSettings;
    mod.PrevLoaded = 1;
    txtTitle->setText(settings.Title);
    txtIcon->setText(settings.Icon);
    DigitColorIndex = settings.Color1;
    ButtonColorIndex = settings.Color2;
    selectColour(optBackColor, settings.Color1);
    selectColour(optColor, settings.Color2);
    txtStartBmp->setText(settings.StartBmp);
    txtZei->setText(QString::number(settings.ZeiRitu));
    txtTitle->setFocus();
    txtTitle->selectAll();
    reportColoursOutOfRange();
}

// An index outside 0 to 5 selects no button; it is kept, so the calculator leaves that colour
// as it was designed, unless the user picks one now.
void CalcStWiz::selectColour(QButtonGroup *group, int index)
{
    if (isColourIndex(index)) {
        group->button(index)->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton *button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

void CalcStWiz::reportColoursOutOfRange()
{
    QStringList lines;
    const auto check = [&lines](const QString &what, const char *key, int index) {
        if (!isColourIndex(index))
            lines << QStringLiteral("%1 (%2=%3) は 0 から 5 までの色番号ではありません。")
                         .arg(what, QLatin1String(key))
                         .arg(index);
    };
    check(QStringLiteral("数字色"), "Color1", mod.WizardSettings.Color1);
    check(QStringLiteral("ﾎﾞﾀﾝ色"), "Color2", mod.WizardSettings.Color2);
    if (lines.isEmpty())
        return;
    lines << QStringLiteral("色を選択して下さい。選択しない場合は、電卓は元の色のまま表示します。");
    tell(this, lines.join(u'\n'), QMessageBox::Warning);
}
