#include "programicons.h"

#include <QTest>

class TestProgramIcons : public QObject
{
    Q_OBJECT

private slots:
    void drawnFromTheMenuPictures_data()
    {
        QTest::addColumn<ProgramIcon>("icon");
        QTest::addColumn<int>("size");
        QTest::addColumn<QColor>("body"); // the calculator's case, left of its keys
        QTest::newRow("calculator 32") << ProgramIcon::Calculator << 32 << QColor(0xf2c14e);
        QTest::newRow("Skinwright 32") << ProgramIcon::Skinwright << 32 << QColor(0x9fd3c7);
        QTest::newRow("Skinwright 64") << ProgramIcon::Skinwright << 64 << QColor(0x9fd3c7);
    }
    void drawnFromTheMenuPictures()
    {
        QFETCH(ProgramIcon, icon);
        QFETCH(int, size);
        const QImage image = programIconImage(icon, size);
        QCOMPARE(image.size(), QSize(size, size));
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QTEST(image.pixelColor(QPoint(8, 40) * size / 64), "body");
    }
};

QTEST_MAIN(TestProgramIcons)
#include "tst_programicons.moc"
