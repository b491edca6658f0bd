#include "startpage.h"

#include "filechooser.h"
#include "palette.h"
#include "skinrecord.h"
#include "twips.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

struct ColourButton
{
    const char *caption;
    int left;
    int width;
};

// 黒 and 白 reach to their right neighbour: at 435 twips, laid out for a narrower indicator than
// this style's, they would leave no room for the caption beside it.
constexpr std::array<ColourButton, face::SkinColours.size()> ColourButtons = {
    {{QT_TRANSLATE_NOOP("StartPage", "黒"), 105, 555},
     {QT_TRANSLATE_NOOP("StartPage", "白"), 660, 540},
     {QT_TRANSLATE_NOOP("StartPage", "青"), 1200, 645},
     {QT_TRANSLATE_NOOP("StartPage", "赤"), 1740, 645},
     {QT_TRANSLATE_NOOP("StartPage", "黄"), 2280, 495},
     {QT_TRANSLATE_NOOP("StartPage", "緑"), 2835, 495}}};

bool isColourIndex(int index)
{
    return face::colourOfIndex(index).has_value();
}

// A frame without caption holding the six colour buttons; the button's index is its id.
QButtonGroup *addColourGroup(QWidget *page, const QString &name, const QRect &twips)
{
    auto *frame = new QGroupBox(page);
    frame->setGeometry(face::twipsToPixels(twips));
    frame->setAccessibleName(name);
    auto *group = new QButtonGroup(page);
    for (int index = 0; index < int(ColourButtons.size()); ++index) {
        const ColourButton &colour = ColourButtons[index];
        auto *button = new QRadioButton(StartPage::tr(colour.caption), frame);
        button->setGeometry(face::twipsToPixels(QRect(colour.left, 180, colour.width, 225)));
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

StartPage::StartPage(SkinRecord &record, FileChooser &chooser)
    : WizardPage(QStringLiteral("startPage"), 4515, 3195, true), m_record(record),
      m_chooser(chooser)
{
    QPushButton *loadPrevious = addButton(tr("前回の情報　読込"), {45, 30, 1920, 345});
    QLabel *titleLabel = addLabel(tr("タイトル"), {180, 480, 675, 195});
    m_title = addTextField({1020, 420, 3240, 285}, ValueLength, false, true);
    QLabel *iconLabel = addLabel(tr("アイコン"), {180, 840, 810, 210});
    m_icon = addTextField({1020, 780, 3000, 285}, ValueLength, true, true);
    QPushButton *chooseIcon = addButton(tr("..."), {4020, 780, 255, 315});
    addLabel(tr("数字色"), {180, 1320, 795, 255});
    m_digitColours = addColourGroup(this, tr("数字色"), {1020, 1140, 3375, 465});
    addLabel(tr("ﾎﾞﾀﾝ色"), {180, 1860, 720, 225});
    m_keyColours = addColourGroup(this, tr("ﾎﾞﾀﾝ色"), {1020, 1680, 3375, 465});
    QLabel *startLabel = addLabel(tr("開始画像"), {120, 2280, 840, 195});
    m_startPicture = addTextField({1005, 2220, 3000, 285}, ValueLength, true, true);
    QPushButton *chooseStart = addButton(tr("..."), {4005, 2220, 255, 315});
    QLabel *taxLabel = addLabel(tr("消費税率"), {120, 2700, 795, 255});
    m_taxRate = addTextField({1020, 2640, 495, 315}, 0, false, false);
    m_taxRate->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    addLabel(tr("％"), {1560, 2700, 315, 255});
    QPushButton *next = addButton(tr("次へ"), {3420, 2640, 1005, 420});

    // Assistive technology names each field by its label, and "..." by what it chooses.
    titleLabel->setBuddy(m_title);
    iconLabel->setBuddy(m_icon);
    startLabel->setBuddy(m_startPicture);
    taxLabel->setBuddy(m_taxRate);
    chooseIcon->setAccessibleName(tr("アイコンを選ぶ"));
    chooseStart->setAccessibleName(tr("開始画像を選ぶ"));

    setFocusOrder(QList<QWidget *>{m_title, m_icon, next, loadPrevious} +
                  groupButtons(m_keyColours, {0, 1, 2, 3, 4, 5}) + QList<QWidget *>{chooseIcon} +
                  groupButtons(m_digitColours, {5, 4, 3, 2, 1, 0}) +
                  QList<QWidget *>{chooseStart, m_startPicture, m_taxRate});
    // Title and icon are kept as soon as their fields lose the focus. That also happens while
    // the page is being destroyed, so the handlers hold the record and the field, not the page.
    whenFocusLeaves(m_title, [&r = m_record, f = m_title] { r.settings.title = f->text(); });
    whenFocusLeaves(m_icon, [&r = m_record, f = m_icon] { r.settings.icon = f->text(); });

    connect(m_digitColours, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked)
            m_digitColour = m_record.settings.digitColour = qint16(index);
        keepSelectedInTabChain(m_digitColours);
    });
    connect(m_keyColours, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked)
            m_keyColour = m_record.settings.keyColour = qint16(index);
        keepSelectedInTabChain(m_keyColours);
    });
    connect(chooseIcon, &QPushButton::clicked, this, [this] { choose(m_icon, true); });
    connect(chooseStart, &QPushButton::clicked, this, [this] { choose(m_startPicture, false); });
    connect(next, &QPushButton::clicked, this, &StartPage::goOn);
    connect(loadPrevious, &QPushButton::clicked, this, &StartPage::loadPrevious);

    selectColour(m_digitColours, 0);
    selectColour(m_keyColours, 0);
    m_digitColour = m_keyColour = 0;
    m_record.previousLoaded = false;
    m_title->setFocus();
}

void StartPage::choose(QLineEdit *field, bool icon)
{
    const QString path =
        m_chooser.choose(this, icon ? FileChooser::iconFilter() : FileChooser::pictureFilter());
    const auto taken =
        takeChosenFile(path, icon ? SkinFileKind::Icon : SkinFileKind::Picture, m_record.folder);
    if (const Error *error = std::get_if<Error>(&taken))
        return tell(*error);
    field->setText(std::get<QString>(taken));
}

void StartPage::goOn()
{
    if (m_icon->text().isEmpty()) {
        m_icon->setFocus();
        tell(tr("画像を選択して下さい。"));
        return;
    }
    // Full-width digits, signs and spaces, as the input method left on from the title types
    // them, count as their ASCII forms.
    const std::optional<qint16> taxRate =
        wholeNumber(m_taxRate->text().normalized(QString::NormalizationForm_KC));
    if (!taxRate) {
        m_taxRate->setFocus();
        m_taxRate->selectAll();
        tell(tr("消費税率は %1 から %2 までの数値で入力して下さい。")
                 .arg(WholeNumberMin)
                 .arg(WholeNumberMax),
             QMessageBox::Warning);
        return;
    }
    // The last page could not write these, and no page leads back here.
    if (refuseUnwritable(m_title, tr("タイトル")) || refuseUnwritable(m_icon, tr("アイコン")) ||
        refuseUnwritable(m_startPicture, tr("開始画像")))
        return;
    CalcSettings &settings = m_record.settings;
    settings.title = m_title->text();
    settings.icon = m_icon->text();
    settings.digitColour = m_digitColour;
    settings.keyColour = m_keyColour;
    settings.startPicture = m_startPicture->text();
    settings.taxRate = *taxRate;
    hide();
    emit nextRequested();
}

// The previous calc.dat, read untrimmed over what the pages hold; a failed read changes nothing.
void StartPage::loadPrevious()
{
    if (const std::optional<Error> error =
            readSettings(m_record.folder, Spaces::Keep, m_record.settings)) {
        tell(error
                 ->after({"StartPage",
                          QT_TRANSLATE_NOOP("StartPage", "前回の情報を読み込めませんでした。\n")})
                 .message(),
             QMessageBox::Warning);
        return;
    }
    const CalcSettings &settings = m_record.settings;
    m_record.previousLoaded = true;
    m_title->setText(settings.title);
    m_icon->setText(settings.icon);
    m_digitColour = settings.digitColour;
    m_keyColour = settings.keyColour;
    selectColour(m_digitColours, settings.digitColour);
    selectColour(m_keyColours, settings.keyColour);
    m_startPicture->setText(settings.startPicture);
    m_taxRate->setText(QString::number(settings.taxRate));
    m_title->setFocus();
    m_title->selectAll();
    reportColoursOutOfRange();
}

// An index outside 0 to 5 selects no button; it is kept, so calc.dat keeps it and the calculator
// keeps showing its own default there (black digits, the keys' own caption colour), unless the
// user picks one now.
void StartPage::selectColour(QButtonGroup *group, int index)
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

void StartPage::reportColoursOutOfRange()
{
    QStringList lines;
    const auto check = [&lines](const QString &what, const char *key, int index) {
        if (!isColourIndex(index))
            lines << tr("%1 (%2=%3) は 0 から 5 までの色番号ではありません。")
                         .arg(what, QLatin1String(key))
                         .arg(index);
    };
    check(tr("数字色"), "Color1", m_record.settings.digitColour);
    check(tr("ﾎﾞﾀﾝ色"), "Color2", m_record.settings.keyColour);
    if (lines.isEmpty())
        return;
    lines << tr("色を選択して下さい。選択しない場合は、電卓は元の色のまま表示します。");
    tell(lines.join(u'\n'), QMessageBox::Warning);
}
