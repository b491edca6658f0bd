#include "shelfwindow.h"

#include "activation.h"
#include "dialogs.h"
#include "japanesefonts.h"
#include "keys.h"
#include "programicons.h"
#include "shelfmodel.h"
#include "singleinstance.h"
#include "skinnames.h"
#include "soundswitch.h"
#include "twips.h"
#include "workpanel.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <signal.h>

namespace {

const QString WindowTitle = QStringLiteral("電卓スキン");

// The types the shelf reads; choosing a folder's calc.dat takes the folder.
const QList<dialogs::FileFilter> ImportFilters = {
    {QStringLiteral("電卓スキン"),
     QStringLiteral("*.calcskin *.zip *.lzh *.lha *.7z *.tar *.tar.gz *.tgz *.tar.bz2 *.tbz2 "
                    "*.tar.xz *.txz calc.dat")},
    {QStringLiteral("すべてのファイル"), QStringLiteral("*")}};
const QList<dialogs::FileFilter> ExportFilters = {
    {QStringLiteral("電卓スキン"), QStringLiteral("*.calcskin")}};

// The tile is the calculator's face at start, at the window's size: its start picture is then
// read at the backdrop's size, from the entry of the picture cache the calculator reads.
QSize tileSize()
{
    return face::twipsToPixels(QRect(QPoint(), face::ClientTwips)).size();
}

QFont windowFont()
{
    QFont font;
    font.setFamilies(
        japaneseFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic")}));
    font.setPointSize(9);
    return font;
}

} // namespace

ShelfWindow::ShelfWindow(const Shelf &shelf, QWidget *parent)
    : QWidget(parent), m_shelf(shelf),
      m_model(new ShelfModel(shelf, tileSize(), devicePixelRatioF(), this)),
      m_tiles(new QListView(this)), m_filter(new QLineEdit(this)), m_work(new WorkPanel(this))
{
    setWindowTitle(WindowTitle);
    setWindowIcon(programIcon(ProgramIcon::Calculator));
    setFont(windowFont());
    setAcceptDrops(true);

    m_tiles->setAccessibleName(WindowTitle);
    m_tiles->setViewMode(QListView::IconMode);
    m_tiles->setMovement(QListView::Static);
    m_tiles->setResizeMode(QListView::Adjust);
    m_tiles->setUniformItemSizes(true);
    m_tiles->setWordWrap(true);
    m_tiles->setIconSize(tileSize());
    m_tiles->setGridSize(tileSize() + QSize(24, 3 * fontMetrics().height()));
    m_tiles->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tiles->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_tiles->setModel(m_model);
    m_tiles->setMinimumSize(m_tiles->gridSize() * 3 + QSize(24, 8));

    auto *buttons = new QHBoxLayout;
    const auto add = [this, buttons](const QString &text, const QList<QKeySequence> &keys,
                                     void (ShelfWindow::*run)()) {
        QAction *action = addSkinAction(text, keys, run);
        auto *button = new QPushButton(text, this);
        button->setAccessibleName(text);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::enabledChanged, button, &QWidget::setEnabled);
        buttons->addWidget(button);
        return action;
    };
    QAction *start =
        add(QStringLiteral("起動"), {Qt::Key_Return, Qt::Key_Enter}, &ShelfWindow::startSkin);
    start->setAutoRepeat(false); // a held Enter is one press
    QAction *create = add(QStringLiteral("新しいスキン"), {QKeySequence(Qt::CTRL | Qt::Key_N)},
                          &ShelfWindow::newSkin);
    QAction *edit =
        add(QStringLiteral("編集"), {QKeySequence(Qt::CTRL | Qt::Key_E)}, &ShelfWindow::editSkin);
    QAction *save = add(QStringLiteral("書き出し"), {QKeySequence(Qt::CTRL | Qt::Key_S)},
                        &ShelfWindow::exportSkin);
    QAction *open = add(QStringLiteral("取り込み"), {QKeySequence(Qt::CTRL | Qt::Key_O)},
                        &ShelfWindow::importSkin);
    QAction *remove = add(QStringLiteral("削除"), {Qt::Key_Delete}, &ShelfWindow::removeSkin);
    // In the tiles' menu and on their keys only: the row of buttons stays as narrow as it was.
    QAction *rename = addSkinAction(tr("名前の変更"), {Qt::Key_F2}, &ShelfWindow::renameSkin);
    QAction *duplicate = addSkinAction(tr("複製"), {QKeySequence(Qt::CTRL | Qt::Key_D)},
                                       &ShelfWindow::duplicateSkin);
    m_skinActions = {start, edit, save, remove, rename, duplicate};
    m_shelfActions = {create, edit, save, open, remove, rename, duplicate};
    buttons->addStretch();
    buttons->addWidget(soundSwitch());

    m_filter->setPlaceholderText(tr("名前で絞り込み"));
    m_filter->setAccessibleName(m_filter->placeholderText());
    m_filter->setClearButtonEnabled(true);
    connect(m_filter, &QLineEdit::textChanged, this, &ShelfWindow::applyFilter);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_filter);
    layout->addWidget(m_tiles);
    layout->addLayout(buttons);
    layout->addWidget(m_work);

    connect(m_tiles, &QAbstractItemView::doubleClicked, this, &ShelfWindow::startSkin);
    // A shelf read again keeps the skin that was current, or the one now in its place.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        m_tiles->setProperty("keptName", currentName());
        m_tiles->setProperty("keptRow", m_tiles->currentIndex().row());
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        const int row = m_model->rowOf(m_tiles->property("keptName").toString());
        const int kept = row >= 0 ? row : m_tiles->property("keptRow").toInt();
        if (m_model->rowCount() > 0)
            m_tiles->setCurrentIndex(m_model->index(qBound(0, kept, m_model->rowCount() - 1)));
        updateActions();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, &ShelfWindow::applyFilter);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &ShelfWindow::applyFilter);
    connect(m_model, &ShelfModel::newSkinWritten, this,
            [this](const QString &name) { m_wantedCurrent = name; });
    connect(m_model, &ShelfModel::scanned, this, [this] {
        if (m_model->rowOf(m_wantedCurrent) >= 0)
            makeCurrent(std::exchange(m_wantedCurrent, {}));
    });
    connect(m_work, &WorkPanel::busyChanged, this, &ShelfWindow::updateActions);
    connect(m_work, &WorkPanel::finished, this, &ShelfWindow::workFinished);
    connect(m_tiles->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &ShelfWindow::updateActions);
    makeCurrent({});
    m_tiles->setFocus();
}

ShelfWindow::~ShelfWindow() = default;

QCheckBox *ShelfWindow::soundSwitch()
{
    auto *box = new QCheckBox(QStringLiteral("音を鳴らす"), this);
    box->setChecked(soundSwitchedOn(m_shelf.dataFolder()));
    connect(box, &QCheckBox::toggled, this, [this, box](bool on) {
        if (const auto error = switchSound(m_shelf.dataFolder(), on)) {
            const QSignalBlocker unchanged(box);
            box->setChecked(!on);
            showError(*error);
        }
    });
    return box;
}

QAction *ShelfWindow::addSkinAction(const QString &text, const QList<QKeySequence> &keys,
                                    void (ShelfWindow::*run)())
{
    auto *action = new QAction(text, this);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, run);
    m_tiles->addAction(action);
    return action;
}

QString ShelfWindow::currentName() const
{
    return m_tiles->currentIndex().data(ShelfModel::NameRole).toString();
}

void ShelfWindow::makeCurrent(const QString &name)
{
    const int row = m_model->rowOf(name);
    if (row >= 0 && m_tiles->isRowHidden(row))
        m_filter->clear(); // a skin just added shows whatever was filtered
    if (m_model->rowCount() > 0)
        m_tiles->setCurrentIndex(m_model->index(row < 0 ? 0 : row));
    updateActions();
}

void ShelfWindow::updateActions()
{
    const bool hasCurrent = m_tiles->currentIndex().isValid();
    for (QAction *action : m_tiles->actions())
        action->setEnabled((hasCurrent || !m_skinActions.contains(action)) &&
                           !(m_work->busy() && m_shelfActions.contains(action)));
}

void ShelfWindow::showError(const QString &text)
{
    dialogs::showMessage(this, {text, WindowTitle, QMessageBox::Warning});
}

namespace {
// Starts a program of a skin folder as a process of its own, which outlives the window.
std::optional<QString>
startProgram(const QString &folder, const QString &program, const QStringList &arguments = {},
             qint64 *pid = nullptr,
             const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProgram(QDir(folder).filePath(program));
    process.setArguments(arguments);
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(environment);
    if (process.startDetached(pid))
        return std::nullopt;
    return QStringLiteral("%1 を起動できません。").arg(process.program());
}
} // namespace

// One press, one start: while the skin's calculator started last is still coming up (it runs and
// does not hold its claim yet), a press starts nothing; once its window shows, a press starts
// another that brings it forward. The shelf has the focus and lends it to the calculator.
void ShelfWindow::startSkin()
{
    const QModelIndex current = m_tiles->currentIndex();
    if (!current.isValid())
        return;
    const QString folder = current.data(ShelfModel::FolderRole).toString();
    const QString program = QDir(folder).filePath(QStringLiteral("calc"));
    if (const auto starting = m_starting.find(program); starting != m_starting.end()) {
        if (::kill(pid_t(*starting), 0) == 0 && claimHolder(program) != *starting)
            return;
        m_starting.erase(starting);
    }
    qint64 pid = 0;
    if (auto error = startProgram(folder, QStringLiteral("calc"), {}, &pid,
                                  launchEnvironment(windowHandle())))
        return showError(*error);
    m_starting.insert(program, pid);
    if (auto error = m_shelf.rememberLastSkin(currentName()))
        showError(error->japanese);
}

void ShelfWindow::newSkin()
{
    const auto made = m_shelf.createSkin();
    if (const SkinError *error = std::get_if<SkinError>(&made))
        return showError(error->japanese);
    if (auto error = startProgram(std::get<QString>(made), QStringLiteral("Skinwright")))
        showError(*error);
    m_model->rescan(); // watches the new folder, and removes it if Skinwright did not start
}

void ShelfWindow::editSkin()
{
    if (m_tiles->currentIndex().isValid())
        if (auto error =
                startProgram(m_tiles->currentIndex().data(ShelfModel::FolderRole).toString(),
                             QStringLiteral("Skinwright"), {QStringLiteral("--edit")}))
            showError(*error);
}

void ShelfWindow::exportSkin()
{
    const QModelIndex current = m_tiles->currentIndex();
    if (!current.isValid())
        return;
    QString proposed = current.data(ShelfModel::TitleRole).toString();
    proposed.replace(u'/', u'／');
    const QString file = dialogs::chooseSaveFile(
        this, ExportFilters, QDir::home().filePath(proposed + QStringLiteral(".calcskin")),
        QStringLiteral("書き出し"));
    if (file.isEmpty())
        return;
    m_work->run(QStringLiteral("書き出し中…"),
                [shelf = m_shelf, name = currentName(), file](const WorkControl &control) {
                    WorkOutcome outcome;
                    if (auto error = shelf.exportSkin(name, file, control))
                        outcome.problems << error->japanese;
                    return outcome;
                });
}

void ShelfWindow::importSkin()
{
    QString source =
        dialogs::chooseFile(this, ImportFilters, QDir::homePath(), QStringLiteral("取り込み"));
    if (QFileInfo(source).fileName().compare(u"calc.dat", Qt::CaseInsensitive) == 0)
        source = QFileInfo(source).path();
    if (!source.isEmpty())
        importSkins({source});
}

void ShelfWindow::importSkins(const QStringList &sources)
{
    if (m_work->busy()) {
        m_queuedImports << sources;
        return;
    }
    m_work->run(QStringLiteral("取り込み中…"),
                [shelf = m_shelf, sources](const WorkControl &control) {
                    WorkOutcome outcome;
                    for (const QString &source : sources) {
                        const auto imported = shelf.importSkin(source, control);
                        if (control.stopped())
                            break;
                        if (const SkinError *error = std::get_if<SkinError>(&imported))
                            outcome.problems << error->japanese;
                        else
                            outcome.added = std::get<QString>(imported);
                    }
                    return outcome;
                });
}

void ShelfWindow::workFinished(const WorkOutcome &outcome)
{
    for (const QString &problem : outcome.problems)
        showError(problem);
    if (!outcome.added.isEmpty()) {
        m_wantedCurrent = outcome.added;
        m_model->rescan();
    }
    if (!m_queuedImports.isEmpty())
        importSkins(std::exchange(m_queuedImports, {}));
}

void ShelfWindow::removeSkin()
{
    const QModelIndex current = m_tiles->currentIndex();
    if (!current.isValid())
        return;
    const QString title = current.data(ShelfModel::TitleRole).toString();
    if (!dialogs::askYesNo(this, {QStringLiteral("「%1」を削除しますか？").arg(title), WindowTitle,
                                  QMessageBox::Question}))
        return;
    if (!QFile::moveToTrash(current.data(ShelfModel::FolderRole).toString()))
        return showError(
            QStringLiteral("ごみ箱が使えないため、「%1」を削除できません。").arg(title));
    m_model->rescan();
}

// A running calculator keeps its folder's old name: its claim to be the one copy of the skin
// would not hold for the new one.
void ShelfWindow::renameSkin()
{
    const QModelIndex current = m_tiles->currentIndex();
    if (!current.isValid())
        return;
    const QString title = current.data(ShelfModel::TitleRole).toString();
    const QString folder = current.data(ShelfModel::FolderRole).toString();
    if (claimHolder(QDir(folder).filePath(QStringLiteral("calc"))))
        return showError(
            tr("「%1」は起動中のため、名前を変えられません。電卓を閉じてから変えてください。")
                .arg(title));
    const auto wanted =
        dialogs::askText(this, {tr("「%1」の新しい名前:").arg(title), WindowTitle}, title);
    if (!wanted || *wanted == title)
        return;
    const auto renamed = m_shelf.renameSkin(currentName(), *wanted);
    if (const SkinError *error = std::get_if<SkinError>(&renamed))
        return showError(error->japanese);
    m_wantedCurrent = std::get<QString>(renamed);
    m_model->rescan();
}

void ShelfWindow::duplicateSkin()
{
    if (!m_tiles->currentIndex().isValid())
        return;
    m_work->run(tr("複製中…"), [shelf = m_shelf, name = currentName()](const WorkControl &control) {
        WorkOutcome outcome;
        const auto copied = shelf.duplicateSkin(name, control);
        if (const SkinError *error = std::get_if<SkinError>(&copied))
            outcome.problems << error->japanese;
        else
            outcome.added = std::get<QString>(copied);
        return outcome;
    });
}

void ShelfWindow::applyFilter()
{
    const QString filter = m_filter->text();
    for (int row = 0; row < m_model->rowCount(); ++row)
        m_tiles->setRowHidden(
            row, !titleMatches(m_model->index(row).data(ShelfModel::TitleRole).toString(), filter));
    const QModelIndex current = m_tiles->currentIndex();
    if (!current.isValid() || m_tiles->isRowHidden(current.row())) {
        int shown = 0;
        while (shown < m_model->rowCount() && m_tiles->isRowHidden(shown))
            ++shown;
        m_tiles->setCurrentIndex(m_model->index(shown)); // none when every tile is hidden
    }
    updateActions();
}

void ShelfWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls() && !m_work->busy())
        event->acceptProposedAction();
}

void ShelfWindow::dropEvent(QDropEvent *event)
{
    QStringList sources;
    for (const QUrl &url : event->mimeData()->urls())
        if (url.isLocalFile())
            sources << url.toLocalFile();
    event->acceptProposedAction();
    // Imported once the drop has ended, so that a long import or its message boxes never keep
    // the program the files came from waiting for the drop's end.
    QMetaObject::invokeMethod(
        this, [this, sources] { importSkins(sources); }, Qt::QueuedConnection);
}
