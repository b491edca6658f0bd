#include "calcend.h"
#include "calcmsi.h"
#include "calcstwiz.h"
#include "modskinwright.h"

#include <QAccessible>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// The wizard's three pages, as a screen reader finds their controls.
struct Pages
{
    QTemporaryDir folder;
    ModSkinwright module;
    CalcStWiz page1{module, folder.path()};
    CalcMsi page2{module};
    CalcEnd page3{module};

    QWidget *page(int number)
    {
        return number == 1   ? static_cast<QWidget *>(&page1)
               : number == 2 ? static_cast<QWidget *>(&page2)
                             : &page3;
    }
};

class TestWizardAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { pages = std::make_unique<Pages>(); }
    void cleanupTestCase() { pages.reset(); }

    void controlsAreNamedByTheirLabels_data();
    void controlsAreNamedByTheirLabels();
    void everyControlTheFocusReachesHasAName_data();
    void everyControlTheFocusReachesHasAName();

private:
    std::unique_ptr<Pages> pages;
};

void TestWizardAccessibility::controlsAreNamedByTheirLabels_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("name");

    auto row = [](int page, const char *control, QAccessible::Role role, const char *name) {
        QTest::addRow("%d %s", page, control)
            << page << QString::fromLatin1(control) << role << QString::fromUtf8(name);
    };
    row(1, "txtTitle", QAccessible::EditableText, "タイトル");
    row(1, "txtIcon", QAccessible::EditableText, "アイコン");
    row(1, "cmdButton0", QAccessible::Button, "アイコンを選ぶ");
    row(1, "frmBackColor", QAccessible::Grouping, "数字色");
    row(1, "optBackColor3", QAccessible::RadioButton, "赤");
    row(1, "frmColor", QAccessible::Grouping, "ﾎﾞﾀﾝ色");
    row(1, "txtStartBmp", QAccessible::EditableText, "開始画像");
    row(1, "cmdButton1", QAccessible::Button, "開始画像を選ぶ");
    row(1, "txtZei", QAccessible::EditableText, "消費税率");
    row(2, "txt0Bmp", QAccessible::EditableText, "\"０\"入力時の画像");
    row(2, "txtCBmp", QAccessible::EditableText, "\"COPY\"入力時の画像");
    row(2, "cmdButton0", QAccessible::Button, "\"０\"入力時の画像を選ぶ");
    row(2, "chkPreview", QAccessible::CheckBox, "ﾌﾟﾚﾋﾞｭｰ");
    row(3, "lstFile", QAccessible::List, "次のﾌｧｲﾙを同一ﾌｫﾙﾀﾞに入れて配布して下さい。");
}

void TestWizardAccessibility::controlsAreNamedByTheirLabels()
{
    QFETCH(int, page);
    QFETCH(QString, control);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, name);

    auto *widget = pages->page(page)->findChild<QWidget *>(control);
    QVERIFY(widget);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), role);
    QCOMPARE(accessible->text(QAccessible::Name), name);
}

void TestWizardAccessibility::everyControlTheFocusReachesHasAName_data()
{
    QTest::addColumn<int>("page");
    for (int page = 1; page <= 3; ++page)
        QTest::addRow("page %d", page) << page;
}

void TestWizardAccessibility::everyControlTheFocusReachesHasAName()
{
    QFETCH(int, page);

    QStringList unnamed;
    for (QWidget *widget : pages->page(page)->findChildren<QWidget *>()) {
        if (!(widget->focusPolicy() & Qt::TabFocus) && !(widget->focusPolicy() & Qt::ClickFocus))
            continue;
        const QString name = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        if (name.trimmed().isEmpty() || name == QLatin1String("..."))
            unnamed << widget->objectName();
    }
    QCOMPARE(unnamed, QStringList());
}

QTEST_MAIN(TestWizardAccessibility)
#include "tst_wizardaccessibility.moc"
