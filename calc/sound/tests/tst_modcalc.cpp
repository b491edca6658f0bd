#include "modcalc.h"
#include "recordingmidibackend.h"

#include <QTest>

namespace {
// Also notes when reset and close come, relative to the messages.
class OrderedBackend : public RecordingMidiBackend
{
public:
    OrderedBackend(Log &log, QStringList &order) : RecordingMidiBackend(log), order(order) {}
    void shortMessage(quint32 message) override
    {
        RecordingMidiBackend::shortMessage(message);
        order << QString::number(message, 16);
    }
    void reset() override
    {
        RecordingMidiBackend::reset();
        order << "reset";
    }
    void close() override
    {
        RecordingMidiBackend::close();
        order << "close";
    }

private:
    QStringList &order;
};

// Refuses to open without saying why.
class MuteRefusal : public RecordingMidiBackend
{
public:
    using RecordingMidiBackend::RecordingMidiBackend;
    bool open(int, QString &) override { return false; }
};
} // namespace

class TestModCalc : public QObject
{
    Q_OBJECT

private slots:
    void setUpOpensTheDefaultOutput_data();
    void setUpOpensTheDefaultOutput();
    void notesOfTheKeys_data();
    void notesOfTheKeys();
    void failedOutputStaysSilent_data();
    void failedOutputStaysSilent();
    void refusalWithoutReasonIsStillShown();
    void shutDownSilencesThenCloses();
};

void TestModCalc::setUpOpensTheDefaultOutput_data()
{
    QTest::addColumn<int>("devices");
    QTest::addColumn<QString>("openError");
    QTest::addColumn<int>("opens");
    QTest::addColumn<QList<quint32>>("sent");
    QTest::addColumn<QString>("shown");

    QTest::newRow("one device") << 1 << QString() << 1 << QList<quint32>{0x000001C0} << QString();
    QTest::newRow("three devices")
        << 3 << QString() << 1 << QList<quint32>{0x000001C0} << QString();
    QTest::newRow("no device") << 0 << QString() << 0 << QList<quint32>{}
                               << "Midi音源がｻﾎﾟｰﾄされていません。";
    QTest::newRow("device busy") << 1 << "The device is in use." << 1 << QList<quint32>{}
                                 << "The device is in use.";
}

void TestModCalc::setUpOpensTheDefaultOutput()
{
    QFETCH(int, devices);
    QFETCH(QString, openError);
    QFETCH(int, opens);
    QFETCH(QList<quint32>, sent);
    QFETCH(QString, shown);

    RecordingMidiBackend::Log log;
    ModCalc sound(std::make_unique<RecordingMidiBackend>(log, devices, openError));
    const std::optional<QString> message = sound.setUp();

    QCOMPARE(message.value_or(QString()), shown);
    QCOMPARE(message.has_value(), !shown.isEmpty());
    QCOMPARE(log.opens, opens);
    QCOMPARE(log.messages, sent);
    QCOMPARE(sound.BaseNote, 60);
}

void TestModCalc::notesOfTheKeys_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<quint32>("noteOn");
    QTest::addColumn<quint32>("noteOff");

    QTest::newRow("0") << -3 << quint32(0x00793990) << quint32(0x00103980);
    QTest::newRow("・") << -1 << quint32(0x00793B90) << quint32(0x00103B80);
    QTest::newRow("1") << 0 << quint32(0x00793C90) << quint32(0x00103C80);
    QTest::newRow("5") << 7 << quint32(0x00794390) << quint32(0x00104380);
    QTest::newRow("9") << 14 << quint32(0x00794A90) << quint32(0x00104A80);
}

void TestModCalc::notesOfTheKeys()
{
    QFETCH(int, offset);
    QFETCH(quint32, noteOn);
    QFETCH(quint32, noteOff);

    RecordingMidiBackend::Log log;
    ModCalc sound(std::make_unique<RecordingMidiBackend>(log));
    QVERIFY(!sound.setUp());
    sound.NoteOn(offset);
    sound.NoteOff(offset);

    QCOMPARE(log.messages, (QList<quint32>{ModCalc::ProgramChange, noteOn, noteOff}));
}

void TestModCalc::failedOutputStaysSilent_data()
{
    QTest::addColumn<int>("devices");
    QTest::addColumn<QString>("openError");
    QTest::addColumn<QString>("shown");

    QTest::newRow("no device") << 0 << QString() << "Midi音源がｻﾎﾟｰﾄされていません。";
    QTest::newRow("refused with a reason") << 2 << "内蔵音源を開けませんでした。\nno server"
                                           << "内蔵音源を開けませんでした。\nno server";
}

void TestModCalc::failedOutputStaysSilent()
{
    QFETCH(int, devices);
    QFETCH(QString, openError);
    QFETCH(QString, shown);

    RecordingMidiBackend::Log log;
    {
        ModCalc sound(std::make_unique<RecordingMidiBackend>(log, devices, openError));
        QCOMPARE(sound.setUp().value_or("(none)"), shown);
        sound.NoteOn(0);
        sound.NoteOff(0);
        sound.shutDown();
    }
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(log.resets, 0);
    QCOMPARE(log.closes, 0);
}

void TestModCalc::refusalWithoutReasonIsStillShown()
{
    RecordingMidiBackend::Log log;
    ModCalc sound(std::make_unique<MuteRefusal>(log));
    QCOMPARE(sound.setUp().value_or("(none)"), "MIDI出力を開けませんでした。");
    sound.NoteOn(0);
    QVERIFY(log.messages.isEmpty());
}

void TestModCalc::shutDownSilencesThenCloses()
{
    RecordingMidiBackend::Log log;
    QStringList order;
    {
        ModCalc sound(std::make_unique<OrderedBackend>(log, order));
        QVERIFY(!sound.setUp());
        sound.NoteOn(0);
        sound.shutDown();
        sound.NoteOff(0); // after the output is closed: goes nowhere
    }                     // destroying the module must not close a second time

    QCOMPARE(order, (QStringList{"1c0", "793c90", "reset", "close"}));
}

QTEST_APPLESS_MAIN(TestModCalc)
#include "tst_modcalc.moc"
