#include "calcstwiz.h"
#include "dialogscript.h"
#include "modskinwright.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestCalcStWiz : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    std::unique_ptr<DialogScript> script;
    std::unique_ptr<ModSkinwright> mod;
    std::unique_ptr<CalcStWiz> page;

    QLineEdit *field(const char *name) { return page->findChild<QLineEdit *>(name); }
    QAbstractButton *button(const QString &name)
    {
        return page->findChild<QAbstractButton *>(name);
    }
    QString checkedIn(const char *group)
    {
        for (int index = 0; index < 6; ++index)
            if (button(group + QString::number(index))->isChecked())
                return button(group + QString::number(index))->text();
        return QStringLiteral("none");
    }
    void writeCalcDat(const QByteArray &bytes)
    {
        QFile file(folder.filePath(QStringLiteral("calc.dat")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void init()
    {
        script = std::make_unique<DialogScript>();
        mod = std::make_unique<ModSkinwright>();
        page = std::make_unique<CalcStWiz>(*mod, folder.path());
        page->show();
        QVERIFY(QTest::qWaitForWindowActive(page.get()));
    }
    void cleanup()
    {
        page.reset();
        script.reset();
        QFile::remove(folder.filePath(QStringLiteral("calc.dat")));
    }

    void loadSetsFolderAndColours()
    {
        QCOMPARE(mod->AppPath, folder.path() + u'/');
        QCOMPARE(QDir::currentPath(), folder.path());
        QCOMPARE(checkedIn("optBackColor"), QStringLiteral("黒"));
        QCOMPARE(checkedIn("optColor"), QStringLiteral("黒"));
        QCOMPARE(focusedName(page.get()), QStringLiteral("txtTitle"));
    }

    void focusOrder_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QString>("checkedButtons"); // optBackColor, optColor
        QTest::addColumn<QStringList>("trail");
        QTest::newRow("Tab, both 黒")
            << Qt::Key_Tab << "00"
            << QStringList{"txtTitle",    "txtIcon",    "cmdNext",       "cmdZenkai",
                           "optColor0",   "cmdButton0", "optBackColor0", "cmdButton1",
                           "txtStartBmp", "txtZei",     "txtTitle"};
        QTest::newRow("Enter, 赤 digits, 緑 buttons")
            << Qt::Key_Return << "35"
            << QStringList{"txtTitle",    "txtIcon",    "cmdNext",       "cmdZenkai",
                           "optColor5",   "cmdButton0", "optBackColor3", "cmdButton1",
                           "txtStartBmp", "txtZei",     "txtTitle"};
    }
    void focusOrder()
    {
        QFETCH(Qt::Key, key);
        QFETCH(QString, checkedButtons);
        QFETCH(QStringList, trail);
        button("optBackColor" + checkedButtons.left(1))->click();
        button("optColor" + checkedButtons.right(1))->click();
        field("txtTitle")->setFocus();
        QCOMPARE(focusTrail(page.get(), key, trail.size() - 1), trail);
        QCOMPARE(mod->WizardSettings.Color1, checkedButtons.left(1).toShort());
        QCOMPARE(mod->WizardSettings.Color2, checkedButtons.right(1).toShort());
    }

    void selectOnFocus_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("selected");
        QTest::newRow("click into txtTitle") << "txtTitle" << true;
        QTest::newRow("click into txtIcon") << "txtIcon" << true;
        QTest::newRow("click into txtStartBmp") << "txtStartBmp" << true;
        QTest::newRow("click into txtZei") << "txtZei" << false;
    }
    void selectOnFocus()
    {
        QFETCH(QString, field);
        QFETCH(bool, selected);
        QLineEdit *clicked = this->field(qPrintable(field));
        clicked->setText(QStringLiteral("10"));
        button(QStringLiteral("cmdNext"))->setFocus();
        QTest::mouseClick(clicked, Qt::LeftButton, {}, QPoint(2, 5));
        QCoreApplication::processEvents();
        QCOMPARE(clicked->hasFocus(), true);
        QCOMPARE(clicked->selectedText(), selected ? QStringLiteral("10") : QString());
    }

    void next_data()
    {
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("zei");
        QTest::addColumn<QString>("message"); // empty: the page moves on
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("zeiRitu");
        const QString pickPicture = QStringLiteral("画像を選択して下さい。");
        const QString badRate =
            QStringLiteral("消費税率は -32768 から 32767 までの数値で入力して下さい。");
        QTest::newRow("no icon") << ""
                                 << "8" << pickPicture << "txtIcon" << 0;
        QTest::newRow("rate empty") << "a.ico"
                                    << "" << badRate << "txtZei" << 0;
        QTest::newRow("rate 8%") << "a.ico"
                                 << "8%" << badRate << "txtZei" << 0;
        QTest::newRow("rate 32768") << "a.ico"
                                    << "32768" << badRate << "txtZei" << 0;
        QTest::newRow("rate -32769") << "a.ico"
                                     << "-32769" << badRate << "txtZei" << 0;
        QTest::newRow("rate 8") << "a.ico"
                                << "8"
                                << ""
                                << "" << 8;
        QTest::newRow("rate 4.5") << "a.ico"
                                  << "4.5"
                                  << ""
                                  << "" << 4;
        QTest::newRow("rate 5.5") << "a.ico"
                                  << "5.5"
                                  << ""
                                  << "" << 6;
        QTest::newRow("rate ' 5 '") << "a.ico"
                                    << " 5 "
                                    << ""
                                    << "" << 5;
        QTest::newRow("rate -32768") << "a.ico"
                                     << "-32768"
                                     << ""
                                     << "" << -32768;
    }
    void next()
    {
        QFETCH(QString, icon);
        QFETCH(QString, zei);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(int, zeiRitu);
        QSignalSpy moved(page.get(), &CalcStWiz::nextRequested);
        field("txtTitle")->setText(QStringLiteral(" 電卓 "));
        field("txtIcon")->setText(icon);
        field("txtZei")->setText(zei);
        button(QStringLiteral("optColor2"))->click();
        button(QStringLiteral("cmdNext"))->click();

        QCOMPARE(script->messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(moved.size(), message.isEmpty() ? 1 : 0);
        QCOMPARE(page->isVisible(), !message.isEmpty());
        QCOMPARE(mod->WizardSettings.ZeiRitu, qint16(zeiRitu));
        if (!message.isEmpty()) {
            QCOMPARE(focusedName(page.get()), focus);
            QCOMPARE(mod->WizardSettings.StartBmp, QString());
            return;
        }
        QCOMPARE(mod->WizardSettings.Title, QStringLiteral(" 電卓 "));
        QCOMPARE(mod->WizardSettings.Icon, icon);
        QCOMPARE(mod->WizardSettings.Color2, qint16(2));
    }

    void previousSettings_data()
    {
        QTest::addColumn<QByteArray>("calcDat"); // empty: no calc.dat
        QTest::addColumn<QStringList>("fields"); // title, icon, start picture, tax rate
        QTest::addColumn<QString>("digitColour");
        QTest::addColumn<QString>("buttonColour");
        QTest::addColumn<QString>("messageNames"); // a text the message must hold
        const QStringList typed = {"typed", "typed.ico", "", "3"};
        QTest::newRow("whole file")
            << QByteArray("Title=\x93\x64\x91\xEC  \r\nIcon=a.ico\r\nColor1=3\r\nColor2=5\r\n"
                          "StartBmp=s.jpg\r\nZeiRitu=8\r\n")
            << QStringList{"電卓  ", "a.ico", "s.jpg", "8"} << "赤"
            << "緑"
            << "";
        QTest::newRow("no Title line keeps the typed title")
            << QByteArray("Icon=b.ico\r\nZeiRitu= 8\r\n") << QStringList{"typed", "b.ico", "", "8"}
            << "黒"
            << "黒"
            << "";
        QTest::newRow("no calc.dat") << QByteArray() << typed << "黒"
                                     << "黒"
                                     << "calc.dat";
        QTest::newRow("ZeiRitu=abc") << QByteArray("Title=new\r\nZeiRitu=abc\r\n") << typed << "黒"
                                     << "黒"
                                     << "calc.dat";
        QTest::newRow("Color1=7")
            << QByteArray("Title=t\r\nIcon=i.ico\r\nColor1=7\r\nColor2=2\r\nZeiRitu=5\r\n")
            << QStringList{"t", "i.ico", "", "5"} << "none"
            << "青"
            << "Color1=7";
    }
    void previousSettings()
    {
        QFETCH(QByteArray, calcDat);
        QFETCH(QStringList, fields);
        QFETCH(QString, digitColour);
        QFETCH(QString, buttonColour);
        QFETCH(QString, messageNames);
        if (!calcDat.isEmpty())
            writeCalcDat(calcDat);
        QTest::keyClicks(field("txtTitle"), QStringLiteral("typed"));
        QTest::keyClicks(field("txtIcon"), QStringLiteral("typed.ico"));
        QTest::keyClicks(field("txtZei"), QStringLiteral("3"));
        field("txtTitle")->setFocus();
        // The click takes the focus from the title field, which keeps the typed title.
        QTest::mouseClick(button(QStringLiteral("cmdZenkai")), Qt::LeftButton);

        QCOMPARE(script->messages.size(), messageNames.isEmpty() ? 0 : 1);
        if (!messageNames.isEmpty())
            QVERIFY2(script->messages.first().text.contains(messageNames),
                     qPrintable(script->messages.first().text));
        const QStringList shown = {field("txtTitle")->text(), field("txtIcon")->text(),
                                   field("txtStartBmp")->text(), field("txtZei")->text()};
        QCOMPARE(shown, fields);
        QCOMPARE(checkedIn("optBackColor"), digitColour);
        QCOMPARE(checkedIn("optColor"), buttonColour);
        const bool loaded = fields != QStringList{"typed", "typed.ico", "", "3"};
        QCOMPARE(mod->PrevLoaded, loaded ? 1 : 0);
        if (loaded) {
            QCOMPARE(focusedName(page.get()), QStringLiteral("txtTitle"));
            QCOMPARE(field("txtTitle")->selectedText(), fields.first());
        }
        // What was read, or kept, is what "次へ" stores; an unselectable colour is kept as read.
        button(QStringLiteral("cmdNext"))->click();
        QCOMPARE(mod->WizardSettings.Title, fields[0]);
        QCOMPARE(mod->WizardSettings.ZeiRitu, fields[3].toShort());
        if (digitColour == "none")
            QCOMPARE(mod->WizardSettings.Color1, qint16(7));
    }

    void chooser_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("firstFilter");
        QTest::addColumn<bool>("refused");
        QTest::newRow("icon /art/piano.ico") << 0 << "/art/piano.ico"
                                             << "txtIcon"
                                             << "piano.ico"
                                             << "*.ico" << false;
        QTest::newRow("start picture /art/s.gif") << 1 << "/art/s.gif"
                                                  << "txtStartBmp"
                                                  << "s.gif"
                                                  << "*.jpg" << false;
        QTest::newRow("icon cancelled") << 0 << ""
                                        << "txtIcon"
                                        << ""
                                        << "*.ico" << false;
        QTest::newRow("icon name of 20 characters") << 0 << "/art/abcdefghijklmnop.ico"
                                                    << "txtIcon"
                                                    << "abcdefghijklmnop.ico"
                                                    << "*.ico" << false;
        QTest::newRow("icon name of 21 characters") << 0 << "/art/abcdefghijklmnopq.ico"
                                                    << "txtIcon"
                                                    << "old.ico"
                                                    << "*.ico" << true;
    }
    void chooser()
    {
        QFETCH(int, index);
        QFETCH(QString, answer);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, firstFilter);
        QFETCH(bool, refused);
        this->field(qPrintable(field))->setText(QStringLiteral("old.ico"));
        script->answers << answer;
        button("cmdButton" + QString::number(index))->click();

        QCOMPARE(this->field(qPrintable(field))->text(), text);
        QCOMPARE(script->messages.size(), refused ? 1 : 0);
        QCOMPARE(script->chooserCalls.size(), 1);
        const DialogScript::ChooserCall &call = script->chooserCalls.first();
        QCOMPARE(call.title, QStringLiteral("画像の選択"));
        QCOMPARE(call.initialFolder, folder.path());
        QCOMPARE(call.filters.first().pattern, firstFilter);
        QCOMPARE(mod->FileFilter.size(), call.filters.size());
    }
};

QTEST_MAIN(TestCalcStWiz)
#include "tst_calcstwiz.moc"
