#include "midimapper.h"
#include "recordingmidibackend.h"

#include <QTest>

namespace {
// Remembers which of its devices was opened.
class NumberedBackend : public RecordingMidiBackend
{
public:
    NumberedBackend(Log &log, int devices, QString openError, int &openedDevice)
        : RecordingMidiBackend(log, devices, std::move(openError)), openedDevice(openedDevice)
    {
    }
    bool open(int deviceId, QString &errorText) override
    {
        openedDevice = deviceId;
        return RecordingMidiBackend::open(deviceId, errorText);
    }

private:
    int &openedDevice;
};

struct Outputs
{
    RecordingMidiBackend::Log portLog, builtInLog;
    int portOpened = -99;
    int builtInOpened = -99;

    MidiMapper mapper(int ports, int builtIn, const QString &portError = {})
    {
        return MidiMapper(
            std::make_unique<NumberedBackend>(portLog, ports, portError, portOpened),
            std::make_unique<NumberedBackend>(builtInLog, builtIn, QString(), builtInOpened));
    }
};
} // namespace

class TestMidiMapper : public QObject
{
    Q_OBJECT

private slots:
    void choosesTheOutput_data();
    void choosesTheOutput();
};

void TestMidiMapper::choosesTheOutput_data()
{
    QTest::addColumn<int>("ports");
    QTest::addColumn<int>("builtIn");
    QTest::addColumn<QString>("portError");
    QTest::addColumn<int>("deviceId");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("opened"); // "port N", "built-in" or "none"

    const int mapper = MidiBackend::MIDI_MAPPER;
    const QString noError;
    QTest::newRow("default, ports and built-in") << 2 << 1 << noError << mapper << 3 << "port 0";
    QTest::newRow("default, built-in only") << 0 << 1 << noError << mapper << 1 << "built-in";
    QTest::newRow("default, ports only") << 1 << 0 << noError << mapper << 1 << "port 0";
    QTest::newRow("default, nothing") << 0 << 0 << noError << mapper << 0 << "none";
    QTest::newRow("second port") << 2 << 1 << noError << 1 << 3 << "port 1";
    QTest::newRow("device after the ports") << 2 << 1 << noError << 2 << 3 << "built-in";
    QTest::newRow("device past the end") << 2 << 1 << noError << 3 << 3 << "none";
    QTest::newRow("negative device") << 2 << 1 << noError << -7 << 3 << "none";
    // A port that will not open is reported as it is; the built-in synthesizer does not step
    // in behind the user's back.
    QTest::newRow("default port busy") << 1 << 1 << "busy" << mapper << 2 << "none";
}

void TestMidiMapper::choosesTheOutput()
{
    QFETCH(int, ports);
    QFETCH(int, builtIn);
    QFETCH(QString, portError);
    QFETCH(int, deviceId);
    QFETCH(int, count);
    QFETCH(QString, opened);

    Outputs outputs;
    MidiMapper mapper = outputs.mapper(ports, builtIn, portError);
    QCOMPARE(mapper.deviceCount(), count);

    QString errorText;
    QCOMPARE(mapper.open(deviceId, errorText), opened != "none");
    QCOMPARE(errorText.isEmpty(), opened != "none");
    mapper.shortMessage(0x00793C90);
    mapper.reset();
    mapper.close();

    const bool toPort = opened.startsWith("port");
    const bool toBuiltIn = opened == "built-in";
    QCOMPARE(outputs.portLog.opens, toPort || !portError.isEmpty() ? 1 : 0);
    QCOMPARE(outputs.builtInLog.opens, toBuiltIn ? 1 : 0);
    if (toPort)
        QCOMPARE(outputs.portOpened, opened.section(' ', 1).toInt());
    if (toBuiltIn)
        QCOMPARE(outputs.builtInOpened, 0);
    QCOMPARE(outputs.portLog.messages, toPort ? QList<quint32>{0x00793C90} : QList<quint32>{});
    QCOMPARE(outputs.builtInLog.messages,
             toBuiltIn ? QList<quint32>{0x00793C90} : QList<quint32>{});
    QCOMPARE(outputs.portLog.resets + outputs.builtInLog.resets, toPort || toBuiltIn ? 1 : 0);
    QCOMPARE(outputs.portLog.closes + outputs.builtInLog.closes, toPort || toBuiltIn ? 1 : 0);
}

QTEST_APPLESS_MAIN(TestMidiMapper)
#include "tst_midimapper.moc"
