#include "shelfwindow.h"

#include "activation.h"
#include "dialogs.h"
#include "japanesefonts.h"
#include "processruns.h"
#include "programicons.h"
#include "programnames.h"
#include "programstart.h"
#include "shelfmodel.h"
#include "singleinstance.h"
#include "skinarchive.h"
#include "skinnames.h"
#include "soundswitch.h"
#include "twips.h"
#include "workpanel.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QSignalBlocker>
#include <QThread>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>
#include <signal.h>

namespace {

// The window's title, and the name of the files it reads and writes.
QString shelfTitle()
{
    return ShelfWindow::tr("電卓スキン");
}

// The types the shelf reads; choosing a folder's calc.dat takes the folder.
QList<dialogs::FileFilter> importFilters()
{
    QString patterns;
    for (const QStringView extension : SkinArchiveExtensions)
        patterns.append(u'*').append(extension).append(u' ');
    return {{shelfTitle(), patterns + QStringLiteral("calc.dat")},
            {ShelfWindow::tr("すべてのファイル"), QStringLiteral("*")}};
}
QList<dialogs::FileFilter> exportFilters()
{
    return {{shelfTitle(), QStringLiteral("*.calcskin")}};
}

// The tile is the calculator's face at start, at the window's size: its start picture is then
// read at the backdrop's size, from the entry of the picture cache the calculator reads.
QSize tileSize()
{
    return face::windowPixels();
}

QFont windowFont()
{
    QFont font;
    font.setFamilies(msPGothicFamilies());
    font.setPointSize(9);
    return font;
}

// Where the window's size and place are kept: the user's own settings, not a skin's calc.dat.
QSettings windowSettings()
{
    return QSettings(QStringLiteral("picturecalc"), QStringLiteral("shelf"));
}
const QString GeometryKey = QStringLiteral("geometry");

QString calculatorOf(const QString &folder)
{
    return QDir(folder).filePath(calcProgram());
}

// A window opened for many skins takes at most this share of the screen, and scrolls.
constexpr double LargestScreenShare = 0.8;

} // namespace

ShelfWindow::ShelfWindow(const Shelf &shelf, QWidget *parent)
    : QWidget(parent), m_shelf(shelf),
      m_model(new ShelfModel(shelf, tileSize(), devicePixelRatioF(), this)),
      m_tiles(new QListView(this)), m_filter(new QLineEdit(this)), m_work(new WorkPanel(this))
{
    setWindowTitle(shelfTitle());
    setWindowIcon(programIcon(ProgramIcon::Calculator));
    setFont(windowFont());
    setAcceptDrops(true);

    m_tiles->setAccessibleName(shelfTitle());
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
    // One column of tiles, with room for the scroll bar.
    m_tiles->setMinimumSize(
        m_tiles->gridSize() +
        QSize(m_tiles->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * m_tiles->frameWidth(),
              2 * m_tiles->frameWidth()));

    // A tool bar, which shows what does not fit in a narrow window behind its »» button.
    auto *buttons = new QToolBar(this);
    buttons->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto add = [this, buttons](const QString &text, const QList<QKeySequence> &keys,
                                     void (ShelfWindow::*run)()) {
        QAction *action = addSkinAction(text, keys, run);
        buttons->addAction(action);
        return action;
    };
    QAction *start = add(tr("起動"), {Qt::Key_Return, Qt::Key_Enter}, &ShelfWindow::startSkin);
    start->setAutoRepeat(false); // a held Enter is one press
    QAction *create =
        add(tr("新しいスキン"), {QKeySequence(Qt::CTRL | Qt::Key_N)}, &ShelfWindow::newSkin);
    QAction *edit = add(tr("編集"), {QKeySequence(Qt::CTRL | Qt::Key_E)}, &ShelfWindow::editSkin);
    QAction *save =
        add(tr("書き出し"), {QKeySequence(Qt::CTRL | Qt::Key_S)}, &ShelfWindow::exportSkin);
    QAction *open =
        add(tr("取り込み"), {QKeySequence(Qt::CTRL | Qt::Key_O)}, &ShelfWindow::importSkin);
    QAction *remove = add(tr("削除"), {Qt::Key_Delete}, &ShelfWindow::removeSkin);
    m_undo = add(tr("元に戻す"), {QKeySequence::Undo}, &ShelfWindow::undoRemoval);
    // In the tiles' menu and on their keys only: the row of buttons stays as narrow as it was.
    QAction *rename = addSkinAction(tr("名前の変更"), {Qt::Key_F2}, &ShelfWindow::renameSkin);
    QAction *duplicate = addSkinAction(tr("複製"), {QKeySequence(Qt::CTRL | Qt::Key_D)},
                                       &ShelfWindow::duplicateSkin);
    m_skinActions = {start, edit, save, remove, rename, duplicate};
    m_shelfActions = {create, edit, save, open, remove, m_undo, rename, duplicate};
    auto *stretch = new QWidget(this);
    stretch->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    buttons->addWidget(stretch);
    buttons->addWidget(soundSwitch());

    m_filter->setPlaceholderText(tr("名前で絞り込み"));
    m_filter->setAccessibleName(m_filter->placeholderText());
    m_filter->setClearButtonEnabled(true);
    connect(m_filter, &QLineEdit::textChanged, this, &ShelfWindow::applyFilter);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_filter);
    layout->addWidget(m_tiles);
    layout->addWidget(buttons);
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
    if (!restoreGeometry(windowSettings().value(GeometryKey).toByteArray()))
        resize(sizeForTiles());
}

ShelfWindow::~ShelfWindow() = default;

void ShelfWindow::closeEvent(QCloseEvent *event)
{
    windowSettings().setValue(GeometryKey, saveGeometry());
    event->accept();
}

QSize ShelfWindow::sizeForTiles() const
{
    const QSize grid = m_tiles->gridSize();
    // What the window adds to the tiles: its margins, the rows below them, their frame and
    // scroll bar, and the pixel more a row of tiles needs before it wraps.
    const QMargins margins = layout()->contentsMargins();
    const QSize around = QSize(margins.left() + margins.right() + 1,
                               sizeHint().height() - m_tiles->sizeHint().height()) +
                         m_tiles->minimumSize() - grid;
    const QSize largest = screen()->availableSize() * LargestScreenShare;
    const int count = std::max(1, m_model->rowCount());
    // A few skins side by side, more in a square, or wider where the screen is too low for it;
    // wide enough for every button.
    const QSize fitting = (largest - around).expandedTo(grid);
    const int rowsFitting = fitting.height() / grid.height();
    const int columnsWanted =
        std::min(std::max({3, int(std::ceil(std::sqrt(count))), (count - 1) / rowsFitting + 1}),
                 fitting.width() / grid.width());
    const int width =
        std::min(std::max(std::min(count, columnsWanted) * grid.width() + around.width(),
                          sizeHint().width()),
                 largest.width());
    const int columns = std::clamp((width - around.width()) / grid.width(), 1, count);
    const int rows = (count + columns - 1) / columns;
    return {width, std::min(rows * grid.height() + around.height(), largest.height())};
}

QCheckBox *ShelfWindow::soundSwitch()
{
    auto *box = new QCheckBox(tr("音を鳴らす"), this);
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
                           !(m_work->busy() && m_shelfActions.contains(action)) &&
                           (action != m_undo || !m_removals.isEmpty()));
}

void ShelfWindow::showError(const Error &error)
{
    dialogs::showMessage(this, {error.message(), shelfTitle(), QMessageBox::Warning});
}

namespace {
// Starts a program of a skin folder as a process of its own, which outlives the window.
std::optional<Error>
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
    return skinmessages::cannotStart(process.program());
}

// The skin's calculator, asked to end so that the skin can be removed, still runs.
Error calculatorDidNotEnd(const QString &name, const QString &title)
{
    return Error(
        Error::Code::CalculatorRuns, name,
        {{"ShelfWindow",
          QT_TRANSLATE_NOOP("ShelfWindow", "「%1」の電卓が終了しないため、削除できません。"),
          {title}}});
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
    const QString program = calculatorOf(folder);
    if (const auto starting = startingCalculator(program);
        starting && claimHolder(program) != starting)
        return;
    qint64 pid = 0;
    if (auto error =
            startProgram(folder, calcProgram(), {}, &pid, launchEnvironment(windowHandle())))
        return showError(*error);
    m_starting.insert(program, pid);
    if (auto error = m_shelf.rememberLastSkin(currentName()))
        showError(*error);
}

void ShelfWindow::newSkin()
{
    const auto made = m_shelf.createSkin();
    if (const Error *error = std::get_if<Error>(&made))
        return showError(*error);
    if (auto error = startProgram(std::get<QString>(made), skinwrightProgram()))
        showError(*error);
    m_model->rescan(); // watches the new folder, and removes it if Skinwright did not start
}

void ShelfWindow::editSkin()
{
    if (m_tiles->currentIndex().isValid())
        if (auto error =
                startProgram(m_tiles->currentIndex().data(ShelfModel::FolderRole).toString(),
                             skinwrightProgram(), {QStringLiteral("--") + skinwrightEditOption()}))
            showError(*error);
}

void ShelfWindow::exportSkin()
{
    const QModelIndex current = m_tiles->currentIndex();
    if (!current.isValid())
        return;
    const QString proposed = folderNameFor(current.data(ShelfModel::TitleRole).toString());
    const QString file = dialogs::chooseSaveFile(
        this, exportFilters(), QDir::home().filePath(proposed + QStringLiteral(".calcskin")),
        tr("書き出し"));
    if (file.isEmpty())
        return;
    m_work->run(tr("書き出し中…"),
                [shelf = m_shelf, name = currentName(), file](const WorkControl &control) {
                    WorkOutcome outcome;
                    if (auto error = shelf.exportSkin(name, file, control))
                        outcome.problems << *error;
                    return outcome;
                });
}

void ShelfWindow::importSkin()
{
    QString source = dialogs::chooseFile(this, importFilters(), QDir::homePath(), tr("取り込み"));
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
    m_work->run(tr("取り込み中…"), [shelf = m_shelf, sources](const WorkControl &control) {
        WorkOutcome outcome;
        for (const QString &source : sources) {
            const auto imported = shelf.importSkin(source, control);
            if (control.stopped())
                break;
            if (const Error *error = std::get_if<Error>(&imported))
                outcome.problems << *error;
            else
                outcome.added = std::get<QString>(imported);
        }
        return outcome;
    });
}

void ShelfWindow::workFinished(const WorkOutcome &outcome)
{
    for (const Error &problem : outcome.problems)
        showError(problem);
    if (!outcome.added.isEmpty()) {
        m_wantedCurrent = outcome.added;
        m_model->rescan();
    }
    if (!outcome.removed.isEmpty() || !outcome.untrashable.isEmpty())
        removalFinished(outcome);
    if (!m_queuedImports.isEmpty())
        importSkins(std::exchange(m_queuedImports, {}));
}

namespace {

// How long a calculator asked to end may take before its skin is left where it is.
constexpr auto CalculatorEndTime = std::chrono::seconds(5);

// Asks the calculator to end if it runs, and waits until it has: whether it has. One still coming
// up (starting) holds no claim to be asked through yet, and has nothing to lose: it is stopped.
bool endCalculator(const QString &program, std::optional<qint64> starting,
                   const WorkControl &control)
{
    if (starting && claimHolder(program) != starting)
        ::kill(pid_t(*starting), SIGTERM);
    if (!claimHolder(program))
        return true;
    askRunningCopyToEnd(program);
    const QDeadlineTimer deadline(CalculatorEndTime);
    while (claimHolder(program)) {
        if (deadline.hasExpired() || control.stopped())
            return false;
        control.progress(int(100 - 100 * deadline.remainingTime() /
                                       std::chrono::milliseconds(CalculatorEndTime).count()));
        QThread::msleep(20);
    }
    return true;
}

} // namespace

// The calculator this window started last for a program, while it runs.
std::optional<qint64> ShelfWindow::startingCalculator(const QString &program)
{
    const auto starting = m_starting.find(program);
    if (starting == m_starting.end())
        return std::nullopt;
    if (processRuns(*starting))
        return *starting;
    m_starting.erase(starting);
    return std::nullopt;
}

// A calculator runs from the time it starts: before it holds its claim, its sound set-up may
// wait for the user to read a message.
bool ShelfWindow::calculatorRuns(const QString &program)
{
    return claimHolder(program) || startingCalculator(program);
}

void ShelfWindow::removeSkin()
{
    const QModelIndex current = m_tiles->currentIndex();
    if (!current.isValid())
        return;
    const QString title = current.data(ShelfModel::TitleRole).toString();
    const QString question =
        calculatorRuns(calculatorOf(current.data(ShelfModel::FolderRole).toString()))
            ? tr("「%1」は起動中です。電卓を終了して、削除しますか？").arg(title)
            : tr("「%1」を削除しますか？").arg(title);
    if (dialogs::askYesNo(this, {question, shelfTitle(), QMessageBox::Question}))
        removeFromShelf(currentName(), true);
}

void ShelfWindow::removeFromShelf(const QString &name, bool toTrash)
{
    const QString title =
        m_model->index(m_model->rowOf(name)).data(ShelfModel::TitleRole).toString();
    const QString program =
        calculatorOf(m_model->index(m_model->rowOf(name)).data(ShelfModel::FolderRole).toString());
    m_work->run(tr("削除中…"),
                [shelf = m_shelf, name, title, toTrash, program,
                 starting = startingCalculator(program)](const WorkControl &control) {
                    WorkOutcome outcome;
                    const auto folder = shelf.folderOf(name);
                    if (const Error *error = std::get_if<Error>(&folder)) {
                        outcome.problems << *error;
                        return outcome;
                    }
                    if (!endCalculator(program, starting, control)) {
                        outcome.problems << calculatorDidNotEnd(name, title);
                        return outcome;
                    }
                    if (!toTrash) {
                        if (const auto error = shelf.deleteSkin(name))
                            outcome.problems << *error;
                        else
                            outcome.removed = name;
                    } else if (const auto trashed = shelf.trashSkin(name);
                               std::holds_alternative<QString>(trashed)) {
                        outcome.trashed = std::get<QString>(trashed);
                        outcome.removed = name;
                    } else {
                        outcome.untrashable = name;
                    }
                    return outcome;
                });
}

// A skin the trash cannot take is deleted for good only when the user says so, knowing that it
// cannot be brought back.
void ShelfWindow::removalFinished(const WorkOutcome &outcome)
{
    if (outcome.trashed) {
        m_removals.append({*outcome.trashed, outcome.removed});
        updateActions();
    }
    if (!outcome.untrashable.isEmpty()) {
        const QString title = m_model->index(m_model->rowOf(outcome.untrashable))
                                  .data(ShelfModel::TitleRole)
                                  .toString();
        if (dialogs::askYesNo(
                this, {tr("ごみ箱が使えないため、「%1」をごみ箱に移せません。元に戻せないように"
                          "削除しますか？")
                           .arg(title),
                       shelfTitle(), QMessageBox::Warning}))
            removeFromShelf(outcome.untrashable, false);
    }
    m_model->rescan();
}

void ShelfWindow::undoRemoval()
{
    if (m_removals.isEmpty())
        return;
    const Removal removal = m_removals.takeLast();
    const auto restored = m_shelf.restoreSkin(removal.trashed, removal.name);
    if (const Error *error = std::get_if<Error>(&restored))
        showError(*error);
    else
        m_wantedCurrent = std::get<QString>(restored);
    m_model->rescan();
    updateActions();
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
    if (calculatorRuns(calculatorOf(folder)))
        return showError(
            Error(Error::Code::CalculatorRuns, currentName(),
                  {{"ShelfWindow",
                    QT_TRANSLATE_NOOP("ShelfWindow", "「%1」は起動中のため、名前を変えられません。"
                                                     "電卓を閉じてから変えてください。"),
                    {title}}}));
    const auto wanted =
        dialogs::askText(this, {tr("「%1」の新しい名前:").arg(title), shelfTitle()}, title);
    if (!wanted || *wanted == title)
        return;
    const auto renamed = m_shelf.renameSkin(currentName(), *wanted);
    if (const Error *error = std::get_if<Error>(&renamed))
        return showError(*error);
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
        if (const Error *error = std::get_if<Error>(&copied))
            outcome.problems << *error;
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
