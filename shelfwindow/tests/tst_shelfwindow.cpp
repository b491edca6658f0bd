#include "dialogs.h"
#include "shelfwindow.h"
#include "skinfolders.h"

#include <QFileDialog>
#include <QListView>
#include <QMimeData>
#include <QtTest>
#include <signal.h>

using namespace Qt::StringLiterals;

// The window's actions on a shelf under a temporary XDG_DATA_HOME, its dialogs answered here.
class TestShelfWindow : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> work;
    QStringList messages;
    QString asked;
    bool answer = false;

    QString path(const QString &relative) const { return work->filePath(relative); }
    Shelf shelf() const { return Shelf(path(u"xdg/picturecalc"_s), path(u"installed"_s)); }

    // The window shown, its first skin 「私の電卓」, and a key pressed as the user would.
    void press(QKeyCombination key)
    {
        ShelfWindow window(shelf());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(window.windowHandle(), key.key(), key.keyboardModifiers());
    }

private slots:
    void initTestCase()
    {
        dialogs::setMessageAnswerer(
            [this](const dialogs::Message &message) { messages << message.text; });
        dialogs::setQuestionAnswerer([this](const dialogs::Message &question) {
            asked = question.text;
            return answer;
        });
        dialogs::setFileAnswerer([this](QFileDialog &dialog) {
            asked = QFileInfo(dialog.selectedFiles().value(0)).fileName();
            return path(u"out.calcskin"_s);
        });
    }

    void init()
    {
        work.emplace();
        messages.clear();
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(u"xdg"_s)));
        putFile(path(u"installed/calc"_s), "calc program");
        putFile(path(u"installed/Skinwright"_s), "wizard program");
        putSkin(shelf().shelfFolder() + u"/a"_s, u"私の電卓"_s);
        putSkin(shelf().shelfFolder() + u"/b"_s, u"二つ目"_s);
    }

    // A held Enter, and a second press while the calculator comes up, start it once; a press
    // after it ended starts it again.
    void onePressOneStart()
    {
        // The calculator notes its process and stays up without ever taking its claim.
        const QString starts = path(u"starts"_s);
        for (const QString skin : {u"a"_s, u"b"_s}) {
            const QString calc = shelf().shelfFolder() + u"/"_s + skin + u"/calc"_s;
            putFile(calc, "#!/bin/sh\necho $$ >> '" + starts.toUtf8() + "'\nexec sleep 60\n");
            QVERIFY(QFile::setPermissions(calc, QFile::ReadOwner | QFile::ExeOwner));
        }
        const auto started = [&] {
            QFile file(starts);
            return file.open(QIODevice::ReadOnly)
                       ? QString::fromLatin1(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
                       : QStringList();
        };
        ShelfWindow window(shelf());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (bool repeat : {false, true, true, true})
            QTest::simulateEvent(window.windowHandle(), true, Qt::Key_Return, {}, {}, repeat);
        QTest::keyRelease(window.windowHandle(), Qt::Key_Return);
        QTRY_COMPARE(started().size(), 1);
        QTest::keyClick(window.windowHandle(), Qt::Key_Return);
        ::kill(started()[0].toInt(), SIGKILL);
        QTRY_VERIFY(::kill(started()[0].toInt(), 0) != 0);
        QTest::keyClick(window.windowHandle(), Qt::Key_Return);
        QTRY_COMPARE(started().size(), 2);
        ::kill(started()[1].toInt(), SIGKILL);
    }

    void exportProposesTheTitle()
    {
        press(Qt::CTRL | Qt::Key_S);
        QCOMPARE(asked, u"私の電卓.calcskin"_s);
        QVERIFY(QFileInfo(path(u"out.calcskin"_s)).size() > 0);
    }

    void removeGoesToTheTrashOnlyWhenConfirmed_data()
    {
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QStringList>("left");

        QTest::newRow("はい") << true << QStringList{u"b"_s};
        QTest::newRow("いいえ") << false << QStringList{u"a"_s, u"b"_s};
    }

    void removeGoesToTheTrashOnlyWhenConfirmed()
    {
        QFETCH(bool, confirmed);
        QFETCH(QStringList, left);
        answer = confirmed;
        press(Qt::Key_Delete);
        QVERIFY(asked.contains(u"「私の電卓」"_s));
        QCOMPARE(shelf().names(), left);
        QCOMPARE(QFileInfo::exists(path(u"xdg/Trash/files/a/calc.dat"_s)), confirmed);
    }

    void dropImportsEachAndNamesEachFailure()
    {
        putSkin(path(u"good"_s), u"良い"_s);
        putFile(path(u"broken.zip"_s), "no archive");
        QMimeData dropped;
        dropped.setUrls(
            {QUrl::fromLocalFile(path(u"broken.zip"_s)), QUrl::fromLocalFile(path(u"good"_s))});
        ShelfWindow window(shelf());
        QDragEnterEvent enter(QPoint(), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QDropEvent drop(QPointF(), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        QTRY_COMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(u"broken.zip"_s));
        QCOMPARE(shelf().names(), (QStringList{u"a"_s, u"b"_s, u"good"_s}));
        const QModelIndex current = window.findChild<QListView *>()->currentIndex();
        QCOMPARE(current.data(Qt::AccessibleTextRole), u"良い"_s);
    }
};

QTEST_MAIN(TestShelfWindow)
#include "tst_shelfwindow.moc"
