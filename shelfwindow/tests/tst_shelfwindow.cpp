#include "calcsettings.h"
#include "dialogs.h"
#include "shelfwindow.h"

#include <QFileDialog>
#include <QListView>
#include <QMimeData>
#include <QtTest>

using namespace Qt::StringLiterals;

// What the window does through its dialogs, on a shelf under a temporary XDG_DATA_HOME.
class TestShelfWindow : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> work;
    QStringList messages;

    QString path(const QString &relative) const { return work->filePath(relative); }

    Shelf shelf() const { return Shelf(path(u"xdg/picturecalc"_s), path(u"installed"_s)); }

    void putFile(const QString &file, const QByteArray &bytes)
    {
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        QFile output(file);
        QVERIFY(output.open(QIODevice::WriteOnly));
        QCOMPARE(output.write(bytes), bytes.size());
    }

    void putSkin(const QString &folder, const QString &title)
    {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(!writeSettings(folder, CalcSettings{.title = title}));
    }

    static QString currentTitle(const ShelfWindow &window)
    {
        return window.findChild<QListView *>()->currentIndex().data().toString();
    }

    static void press(ShelfWindow &window, QKeyCombination key)
    {
        QTest::keyClick(window.windowHandle(), key.key(), key.keyboardModifiers());
    }

private slots:
    void init()
    {
        work.emplace();
        messages.clear();
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(u"xdg"_s)));
        putFile(path(u"installed/calc"_s), "calc program");
        putFile(path(u"installed/Skinwright"_s), "wizard program");
        putSkin(shelf().shelfFolder() + u"/a"_s, u"私の電卓"_s);
        dialogs::setMessageAnswerer(
            [this](const dialogs::Message &message) { messages << message.text; });
    }

    void cleanup()
    {
        dialogs::setMessageAnswerer({});
        dialogs::setQuestionAnswerer({});
        dialogs::setFileAnswerer({});
    }

    void exportProposesTheTitle()
    {
        QString proposed;
        dialogs::setFileAnswerer([&](QFileDialog &dialog) {
            proposed = QFileInfo(dialog.selectedFiles().value(0)).fileName();
            return path(u"out.calcskin"_s);
        });
        ShelfWindow window(shelf());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        press(window, Qt::CTRL | Qt::Key_S);
        QCOMPARE(proposed, u"私の電卓.calcskin"_s);
        QVERIFY(QFileInfo(path(u"out.calcskin"_s)).size() > 0);
        QCOMPARE(messages, QStringList());
    }

    void removeGoesToTheTrashOnlyWhenConfirmed_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("left");

        QTest::newRow("はい") << true << QStringList{u"b"_s};
        QTest::newRow("いいえ") << false << QStringList{u"a"_s, u"b"_s};
    }

    void removeGoesToTheTrashOnlyWhenConfirmed()
    {
        QFETCH(bool, answer);
        QFETCH(QStringList, left);
        putSkin(shelf().shelfFolder() + u"/b"_s, u"二つ目"_s);
        QString question;
        dialogs::setQuestionAnswerer([&](const dialogs::Message &message) {
            question = message.text;
            return answer;
        });
        ShelfWindow window(shelf());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        press(window, Qt::Key_Delete);
        QVERIFY(question.contains(u"「私の電卓」"_s));
        QCOMPARE(shelf().names(), left);
        QCOMPARE(QFileInfo::exists(path(u"xdg/Trash/files/a/calc.dat"_s)), answer);
        QCOMPARE(currentTitle(window), answer ? u"二つ目"_s : u"私の電卓"_s);
    }

    void dropImportsEachAndNamesEachFailure()
    {
        putSkin(path(u"good"_s), u"良い"_s);
        putFile(path(u"broken.zip"_s), "no archive");
        QMimeData dropped;
        dropped.setUrls(
            {QUrl::fromLocalFile(path(u"broken.zip"_s)), QUrl::fromLocalFile(path(u"good"_s))});
        ShelfWindow window(shelf());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(u"broken.zip"_s));
        QCOMPARE(shelf().names(), (QStringList{u"a"_s, u"good"_s}));
        QCOMPARE(currentTitle(window), u"良い"_s);
    }
};

QTEST_MAIN(TestShelfWindow)
#include "tst_shelfwindow.moc"
