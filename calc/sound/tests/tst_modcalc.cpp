#include "modcalc.h"
#include "recordingmidibackend.h"

#include <QTest>

namespace {
// Writes down everything the output is asked to do, in order: messages in hex, "reset", "close".
class OrderedBackend : public RecordingMidiBackend
{
public:
    OrderedBackend(Log &log, QStringList &order, int devices = 1, QString openError = {})
        : RecordingMidiBackend(log, devices, std::move(openError)), order(order)
    {
    }
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
    void lifeOfTheOutput_data();
    void lifeOfTheOutput();
    void notesOfTheKeys_data();
    void notesOfTheKeys();
    void refusalWithoutReasonIsStillShown();
};

void TestModCalc::lifeOfTheOutput_data()
{
    QTest::addColumn<int>("devices");
    QTest::addColumn<QString>("openError");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("order");

    const QStringList played = {"1c0", "793c90", "103c80", "reset", "close"};
    QTest::newRow("one device") << 1 << QString() << QString() << played;
    QTest::newRow("three devices") << 3 << QString() << QString() << played;
    QTest::newRow("no device") << 0 << QString() << "Midi音源がｻﾎﾟｰﾄされていません。"
                               << QStringList();
    QTest::newRow("device busy") << 1 << "内蔵音源を開けませんでした。\nbusy"
                                 << "内蔵音源を開けませんでした。\nbusy" << QStringList();
}

// Set-up, "1" pressed and released, shutdown, then a stray release and the module's end.
void TestModCalc::lifeOfTheOutput()
{
    QFETCH(int, devices);
    QFETCH(QString, openError);
    QFETCH(QString, shown);
    QFETCH(QStringList, order);

    RecordingMidiBackend::Log log;
    QStringList done;
    {
        ModCalc sound(std::make_unique<OrderedBackend>(log, done, devices, openError));
        const std::optional<QString> message = sound.setUp();
        QCOMPARE(message.value_or("(none)"), shown.isEmpty() ? "(none)" : shown);
        QCOMPARE(sound.BaseNote, 60);
        sound.NoteOn(0);
        sound.NoteOff(0);
        sound.shutDown();
        sound.NoteOff(0);
    }
    QCOMPARE(done, order);
    QCOMPARE(log.opens, devices > 0 ? 1 : 0);
}

void TestModCalc::notesOfTheKeys_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<quint32>("noteOn");
    QTest::addColumn<quint32>("noteOff");

    QTest::newRow("0") << -3 << quint32(0x00793990) << quint32(0x00103980);
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

void TestModCalc::refusalWithoutReasonIsStillShown()
{
    RecordingMidiBackend::Log log;
    ModCalc sound(std::make_unique<MuteRefusal>(log));
    QCOMPARE(sound.setUp().value_or("(none)"), "MIDI出力を開けませんでした。");
    sound.NoteOn(0);
    QVERIFY(log.messages.isEmpty());
}

QTEST_APPLESS_MAIN(TestModCalc)
#include "tst_modcalc.moc"
