#include "dialogs.h"
#include "shelfwindow.h"
#include "singleinstance.h"
#include "skinfiles.h"
#include "soundswitch.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>
#include <signal.h>

using namespace Qt::StringLiterals;

// The skin's calculator: none, one that ends when asked, one that runs on.
enum class Calculator
{
    None,
    Ends,
    Stays
};

// The window's actions on a shelf under a temporary XDG_DATA_HOME, its dialogs answered here.
class TestShelfWindow : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> work;
    QTemporaryDir config;
    QStringList messages;
    QString asked;
    QStringList questions;
    bool answer = false;

    QString path(const QString &relative) const { return work->filePath(relative); }
    Shelf shelf() const { return Shelf(path(u"xdg/picturecalc"_s), path(u"installed"_s)); }

    // The window shown, its first skin 「私の電卓」 current.
    [[nodiscard]] bool open()
    {
        window.emplace(shelf());
        window->show();
        return QTest::qWaitForWindowActive(&*window);
    }

    // And a key pressed as the user would; whether the window came up to take it.
    [[nodiscard]] bool press(QKeyCombination key)
    {
        if (!open())
            return false;
        QTest::keyClick(window->windowHandle(), key.key(), key.keyboardModifiers());
        return true;
    }

    // The actions of the window that are disabled now.
    QStringList idleActions() const
    {
        QStringList idle;
        for (const QAction *action : window->findChild<QListView *>()->actions())
            if (!action->isEnabled())
                idle << action->text();
        return idle;
    }

    std::optional<ShelfWindow> window;

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        dialogs::setMessageAnswerer(
            [this](const dialogs::Message &message) { messages << message.text; });
        dialogs::setQuestionAnswerer([this](const dialogs::Message &question) {
            questions << question.text;
            return answer;
        });
        // A title that takes the renamed skin after the other.
        dialogs::setTextAnswerer(
            [](const dialogs::Message &, const QString &) { return std::optional(u"猫"_s); });
        dialogs::setFileAnswerer([this](QFileDialog &dialog) {
            asked = QFileInfo(dialog.selectedFiles().value(0)).fileName();
            return path(u"out.calcskin"_s);
        });
    }

    void cleanup() { window.reset(); }

    void init()
    {
        work.emplace();
        QDir::setCurrent(work->path()); // Qt's stand-in trash
        messages.clear();
        questions.clear();
        QSettings(u"picturecalc"_s, u"shelf"_s).clear();
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(u"xdg"_s)));
        QVERIFY(putFile(path(u"installed/calc"_s), "calc program"));
        QVERIFY(putFile(path(u"installed/Skinwright"_s), "wizard program"));
        QVERIFY(putSkin(shelf().shelfFolder() + u"/a"_s, u"私の電卓"_s));
        QVERIFY(putSkin(shelf().shelfFolder() + u"/b"_s, u"二つ目"_s));
    }

    // A held Enter, and a second press while the calculator comes up, start it once; a press
    // after it ended starts it again.
    void onePressOneStart()
    {
        // The calculator notes its process and stays up without ever taking its claim.
        const QString starts = path(u"starts"_s);
        for (const QString &skin : {u"a"_s, u"b"_s}) {
            const QString calc = shelf().shelfFolder() + u"/"_s + skin + u"/calc"_s;
            QVERIFY(
                putFile(calc, "#!/bin/sh\necho $$ >> '" + starts.toUtf8() + "'\nexec sleep 60\n"));
            QVERIFY(QFile::setPermissions(calc, QFile::ReadOwner | QFile::ExeOwner));
        }
        const auto started = [&] {
            QFile file(starts);
            return file.open(QIODevice::ReadOnly)
                       ? QString::fromLatin1(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
                       : QStringList();
        };
        QVERIFY(open());
        for (bool repeat : {false, true, true, true})
            QTest::simulateEvent(window->windowHandle(), true, Qt::Key_Return, {}, {}, repeat);
        QTest::keyRelease(window->windowHandle(), Qt::Key_Return);
        QTRY_COMPARE(started().size(), 1);
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        ::kill(started()[0].toInt(), SIGKILL);
        QTRY_VERIFY(::kill(started()[0].toInt(), 0) != 0);
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        QTRY_COMPARE(started().size(), 2);
        ::kill(started()[1].toInt(), SIGKILL);
        // The skin started is remembered by its folder, which its title (二つ目) is not.
        QTest::keyClick(window->windowHandle(), Qt::Key_End);
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        QCOMPARE(shelf().lastSkin(), u"b"_s);
        QTRY_COMPARE(started().size(), 3);
        ::kill(started()[2].toInt(), SIGKILL);
    }

    // 編集 asks the skin's own Skinwright to load the skin.
    void editPassesEditToSkinwright()
    {
        const QString wizard = shelf().shelfFolder() + u"/a/Skinwright"_s;
        QVERIFY(putFile(wizard, "#!/bin/sh\necho \"$@\" > asked\n"));
        QVERIFY(QFile::setPermissions(wizard, QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(press(Qt::CTRL | Qt::Key_E));
        QTRY_COMPARE(fileBytes(shelf().shelfFolder() + u"/a/asked"_s), "--edit\n");
    }

    void exportProposesTheTitle()
    {
        QVERIFY(press(Qt::CTRL | Qt::Key_S));
        QCOMPARE(asked, u"私の電卓.calcskin"_s);
        QTRY_VERIFY(QFileInfo(path(u"out.calcskin"_s)).size() > 0);
    }

    QString currentTitle() const
    {
        return window->findChild<QListView *>()
            ->currentIndex()
            .data(Qt::AccessibleTextRole)
            .toString();
    }

    void renamedAndDuplicatedSkinsAreCurrent_data()
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("current");

        QTest::newRow("F2") << QKeyCombination(Qt::Key_F2) << u"猫"_s;
        QTest::newRow("Ctrl+D") << (Qt::CTRL | Qt::Key_D) << u"私の電卓のコピー"_s;
    }

    void renamedAndDuplicatedSkinsAreCurrent()
    {
        QFETCH(QKeyCombination, key);
        QFETCH(QString, current);
        QVERIFY(press(key));
        QTRY_COMPARE(currentTitle(), current);
    }

    // A running calculator would not follow its folder's new name.
    void runningSkinKeepsItsName()
    {
        const auto running = SingleInstance::claim(shelf().shelfFolder() + u"/a/calc"_s);
        QVERIFY(press(Qt::Key_F2));
        QCOMPARE(messages, QStringList{u"「私の電卓」は起動中のため、名前を変えられません。"
                                       "電卓を閉じてから変えてください。"_s});
    }

    // Typing into the filter leaves the tiles of the titles that hold it, one of them current;
    // with none left, nothing is current.
    void filterShowsTheTitlesThatMatch()
    {
        QVERIFY(open());
        auto *filter = window->findChild<QLineEdit *>();
        filter->insert(u"二"_s); // as typing inserts it

        const QListView *tiles = window->findChild<QListView *>();
        QVERIFY(tiles->isRowHidden(0) && !tiles->isRowHidden(1));
        QCOMPARE(currentTitle(), u"二つ目"_s);
        filter->insert(u"三"_s);
        QCOMPARE(currentTitle(), QString());
        QVERIFY(idleActions().contains(u"起動"_s));
    }

    // Skinwright, started here or from the menu, writes a new skin's calc.dat: it is current.
    void newSkinIsCurrentOnceWritten()
    {
        QVERIFY(open());
        const auto made = shelf().createSkin();
        QVERIFY(std::holds_alternative<QString>(made));
        QVERIFY(putSkin(std::get<QString>(made), u"新作"_s));
        QTRY_COMPARE(currentTitle(), u"新作"_s);
    }

    // Confirmed, a skin goes to the trash silently, its running calculator ended first; a trash
    // that cannot take it says so, and it is deleted for good once confirmed again.
    void remove_data()
    {
        QTest::addColumn<Calculator>("calculator");
        QTest::addColumn<bool>("trashUsable");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QStringList>("said");

        const QString plain = u"「私の電卓」を削除しますか？"_s;
        const QString running = u"「私の電卓」は起動中です。電卓を終了して、削除しますか？"_s;
        const QStringList both = {u"a"_s, u"b"_s};
        QTest::newRow("いいえ") << Calculator::None << true << false << both << QStringList{plain};
        QTest::newRow("はい") << Calculator::None << true << true << QStringList{u"b"_s}
                              << QStringList{plain};
        QTest::newRow("起動中") << Calculator::Ends << true << true << QStringList{u"b"_s}
                                << QStringList{running};
        QTest::newRow("終了しない電卓")
            << Calculator::Stays << true << true << both
            << QStringList{running, u"「私の電卓」の電卓が終了しないため、削除できません。"_s};
        QTest::newRow("ごみ箱なし") << Calculator::None << false << true << QStringList{u"b"_s}
                                    << QStringList{plain, u"ごみ箱が使えないため、「私の電卓」を"
                                                          u"ごみ箱に移せません。元に戻せないよう"
                                                          u"に削除しますか？"_s};
    }

    void remove()
    {
        QFETCH(Calculator, calculator);
        QFETCH(bool, trashUsable);
        QFETCH(QStringList, left);
        QFETCH(QStringList, said);
        QFETCH(bool, confirmed);
        answer = confirmed;
        if (!trashUsable) // Qt makes no trash folder where a file has its name
            QVERIFY(putFile(path(u"xdg/Trash"_s), ""));
        bool folderThereAtEnd = false;
        std::unique_ptr<SingleInstance> running;
        if (calculator != Calculator::None) {
            running = SingleInstance::claim(shelf().shelfFolder() + u"/a/calc"_s);
            running->onEndRequest([&] {
                folderThereAtEnd = QFileInfo::exists(shelf().shelfFolder() + u"/a"_s);
                if (calculator == Calculator::Ends)
                    QTimer::singleShot(0, [&] { running.reset(); });
            });
        }
        QVERIFY(press(Qt::Key_Delete));
        QTRY_COMPARE_WITH_TIMEOUT(questions + messages, said, 15000);
        QTRY_COMPARE(shelf().names(), left);
        QCOMPARE(QFileInfo::exists(path(u"xdg/Trash/files/a/calc.dat"_s)),
                 trashUsable && left == QStringList{u"b"_s});
        QCOMPARE(folderThereAtEnd, calculator != Calculator::None);
    }

    // A calculator still coming up (its claim not taken yet) runs all the same: the question
    // says so, and it is stopped before its folder moves.
    void calculatorComingUpIsEndedFirst()
    {
        const QString calc = shelf().shelfFolder() + u"/a/calc"_s;
        QVERIFY(putFile(calc,
                        "#!/bin/sh\necho $$ > '" + path(u"pid"_s).toUtf8() + "'\nexec sleep 60\n"));
        QVERIFY(QFile::setPermissions(calc, QFile::ReadOwner | QFile::ExeOwner));
        answer = true;
        QVERIFY(press(Qt::Key_Return));
        QTRY_VERIFY(!fileBytes(path(u"pid"_s)).isEmpty());
        QTest::keyClick(window->windowHandle(), Qt::Key_Delete);
        QCOMPARE(questions,
                 QStringList{u"「私の電卓」は起動中です。電卓を終了して、削除しますか？"_s});
        QTRY_COMPARE(shelf().names(), QStringList{u"b"_s});
        QTRY_VERIFY(::kill(fileBytes(path(u"pid"_s)).trimmed().toInt(), 0) != 0);
    }

    // 元に戻す brings skins back last first, current, a taken name made unique.
    void undoBringsBackLastFirst()
    {
        answer = true;
        QVERIFY(press(Qt::Key_Delete));
        QTRY_COMPARE(shelf().names(), QStringList{u"b"_s});
        // Each press waits for the tiles and the work before it, as the user sees them.
        const QListView *tiles = window->findChild<QListView *>();
        QTRY_COMPARE(tiles->currentIndex().data(Qt::AccessibleTextRole), u"二つ目"_s);
        QTRY_VERIFY(!idleActions().contains(u"削除"_s));
        QTest::keyClick(window->windowHandle(), Qt::Key_Delete);
        QTRY_COMPARE(shelf().names(), QStringList());
        QVERIFY(putSkin(shelf().shelfFolder() + u"/a"_s, u"後から"_s));
        for (const QString &title : {u"二つ目"_s, u"私の電卓"_s}) {
            QTRY_VERIFY(!idleActions().contains(u"元に戻す"_s));
            QTest::keyClick(window->windowHandle(), Qt::Key_Z, Qt::ControlModifier);
            QTRY_COMPARE(tiles->currentIndex().data(Qt::AccessibleTextRole), title);
        }
        QCOMPARE(shelf().names(), (QStringList{u"a"_s, u"a (2)"_s, u"b"_s}));
        QVERIFY(QDir(path(u"xdg/Trash/info"_s)).isEmpty());
    }

    // The window opens fitted to its skins, shrinks to one tile column, reopens as left.
    void windowSize_data()
    {
        QTest::addColumn<int>("skins");
        QTest::addColumn<bool>("oneRow");
        QTest::newRow("2") << 2 << true;
        QTest::newRow("60") << 60 << false;
    }

    void windowSize()
    {
        QFETCH(int, skins);
        QFETCH(bool, oneRow);
        for (int skin = 2; skin < skins; ++skin)
            QVERIFY(putSkin(shelf().shelfFolder() + u"/%1"_s.arg(skin), u"%1"_s.arg(skin)));
        QVERIFY(open());
        const QSize grid = window->findChild<QListView *>()->gridSize();
        QCOMPARE(window->height() < 2 * grid.height(), oneRow);
        QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
        window->setGeometry(QRect(QPoint(30, 40), window->minimumSizeHint()));
        QVERIFY(window->width() < 2 * grid.width());
        const QRect left = window->geometry();
        window->close();
        QVERIFY(open());
        QCOMPARE(window->geometry(), left);
    }

    // 「音を鳴らす」 is on for a new user, toggled by the keyboard, and kept for the calculator
    // (which reads it through the same function) and the next window.
    void soundSwitchIsKeptForTheCalculator()
    {
        const QString data = shelf().dataFolder();
        for (const bool wanted : {false, true}) {
            QVERIFY(open());
            auto *box = window->findChild<QCheckBox *>();
            QCOMPARE(box->isChecked(), !wanted);
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Space);
            QCOMPARE(soundSwitchedOn(data), wanted);
        }
        QVERIFY(messages.isEmpty());
    }

    // A choice that cannot be kept says so, and the box shows what still holds.
    void soundSwitchThatCannotBeKeptSaysSo()
    {
        QVERIFY(QDir().mkpath(shelf().dataFolder() + u"/sound"_s));
        ShelfWindow window(shelf());
        auto *box = window.findChild<QCheckBox *>();
        box->click();
        QVERIFY(box->isChecked());
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(shelf().dataFolder() + u"/sound"_s));
    }

    void dropImportsEachAndNamesEachFailure()
    {
        QVERIFY(putSkin(path(u"good"_s), u"良い"_s));
        QVERIFY(putFile(path(u"broken.zip"_s), "no archive"));
        QMimeData dropped;
        dropped.setUrls(
            {QUrl::fromLocalFile(path(u"broken.zip"_s)), QUrl::fromLocalFile(path(u"good"_s))});
        window.emplace(shelf());
        QDragEnterEvent enter(QPoint(), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&*window, &enter);
        QDropEvent drop(QPointF(), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&*window, &drop);
        QTRY_COMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(u"broken.zip"_s));
        QCOMPARE(shelf().names(), (QStringList{u"a"_s, u"b"_s, u"良い"_s}));
        QTRY_COMPARE(currentTitle(), u"良い"_s);
    }

    // The import waits behind a task the test holds in the window's thread until it has cancelled.
    void cancelledImportKeepsTheShelfAndFreesTheActions()
    {
        QVERIFY(putSkin(path(u"slow"_s), u"遅い"_s));
        window.emplace(shelf());
        window->show();
        QPushButton *cancel = nullptr;
        for (QPushButton *button : window->findChildren<QPushButton *>())
            if (button->text() == u"キャンセル")
                cancel = button;
        QVERIFY(cancel);
        {
            const auto held = std::make_shared<QSemaphore>(); // outlives the task holding it
            window->findChild<QThreadPool *>()->start([held] { held->acquire(); });
            const auto release = qScopeGuard([held] { held->release(); });
            window->importSkins({path(u"slow"_s)});
            QCOMPARE(idleActions(),
                     (QStringList{u"新しいスキン"_s, u"編集"_s, u"書き出し"_s, u"取り込み"_s,
                                  u"削除"_s, u"元に戻す"_s, u"名前の変更"_s, u"複製"_s}));
            QTRY_VERIFY(cancel->isVisible()); // once it has waited half a second
            cancel->click();
        }
        QTRY_COMPARE(idleActions(), QStringList{u"元に戻す"_s});
        QVERIFY(!cancel->isVisible());
        QVERIFY(messages.isEmpty());
        const QStringList before = {u"a"_s, u"b"_s};
        QCOMPARE(shelf().names(), before);
        QCOMPARE(
            QDir(shelf().shelfFolder()).entryList(QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot),
            before);
    }
};

QTEST_MAIN(TestShelfWindow)
#include "tst_shelfwindow.moc"
