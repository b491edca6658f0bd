#include "programicons.h"

#include <QTest>

class TestProgramIcons : public QObject
{
    Q_OBJECT

private slots:
    void drawnFromTheMenuPictures_data()
    {
        QTest::addColumn<ProgramIcon>("icon");
        QTest::addColumn<QColor>("body"); // the calculator's case, left of its keys
        QTest::newRow("calculator") << ProgramIcon::Calculator << QColor(0xf2c14e);
        QTest::newRow("Skinwright") << ProgramIcon::Skinwright << QColor(0x9fd3c7);
    }
    void drawnFromTheMenuPictures()
    {
        QFETCH(ProgramIcon, icon);
        const QImage image = programIconImage(icon, 32);
        QCOMPARE(image.size(), QSize(32, 32));
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QTEST(image.pixelColor(4, 20), "body");
    }
};

QTEST_MAIN(TestProgramIcons)
#include "tst_programicons.moc"
