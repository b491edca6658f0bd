#include "shortmessage.h"

#include <QTest>

using Bytes = std::vector<unsigned char>;

class TestShortMessage : public QObject
{
    Q_OBJECT

private slots:
    void bytesOnTheWire_data();
    void bytesOnTheWire();
};

void TestShortMessage::bytesOnTheWire_data()
{
    QTest::addColumn<quint32>("message");
    QTest::addColumn<Bytes>("bytes");

    QTest::newRow("program change 1") << quint32(0x000001C0) << Bytes{0xC0, 0x01};
    QTest::newRow("note on 60") << quint32(0x00793C90) << Bytes{0x90, 0x3C, 0x79};
    QTest::newRow("note off 60") << quint32(0x00103C80) << Bytes{0x80, 0x3C, 0x10};
    QTest::newRow("note on 74 channel 16") << quint32(0x00794A9F) << Bytes{0x9F, 0x4A, 0x79};
    QTest::newRow("all notes off") << quint32(0x00007BB0) << Bytes{0xB0, 0x7B, 0x00};
    QTest::newRow("channel pressure") << quint32(0x000040D3) << Bytes{0xD3, 0x40};
    QTest::newRow("pitch bend") << quint32(0x004000E0) << Bytes{0xE0, 0x00, 0x40};
    QTest::newRow("top byte set") << quint32(0xFF793C90) << Bytes{0x90, 0x3C, 0x79};
    QTest::newRow("note 200 kept to 7 bits") << quint32(0x0079C890) << Bytes{0x90, 0x48, 0x79};
    QTest::newRow("no status") << quint32(0x00003C3C) << Bytes{};
    QTest::newRow("system exclusive") << quint32(0x000000F0) << Bytes{};
    QTest::newRow("clock") << quint32(0x000000F8) << Bytes{};
}

void TestShortMessage::bytesOnTheWire()
{
    QFETCH(quint32, message);
    QFETCH(Bytes, bytes);
    QCOMPARE(shortMessageBytes(message), bytes);
}

QTEST_APPLESS_MAIN(TestShortMessage)
#include "tst_shortmessage.moc"
