#include <alsa/asoundlib.h>
#include <fcntl.h>
#include <unistd.h>

#include <QTemporaryFile>
#include <QtTest>
#include <stdexcept>

#include "platform/SoundDevices.h"

using namespace quorvant;

namespace {
// Sends what is written on stderr (fd 2) to a file while it lives.
class StderrCapture {
public:
    StderrCapture() {
        file_.open();
        fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        dup2(file_.handle(), STDERR_FILENO);
    }
    ~StderrCapture() { Restore(); }
    QByteArray Finish() {
        Restore();
        file_.seek(0);
        return file_.readAll();
    }

private:
    void Restore() {
        if (saved_ < 0) return;
        fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
        saved_ = -1;
    }
    QTemporaryFile file_;
    int saved_ = -1;
};
}  // namespace

class TestAlsa : public QObject {
    Q_OBJECT

private slots:
    void captureSeesStderr();
    void waveOutDevices();
    void mixers();
    void errorHandlerRestored();
};

void TestAlsa::captureSeesStderr() {
    StderrCapture capture;
    fputs("ALSA lib: test\n", stderr);
    QCOMPARE(capture.Finish(), QByteArray("ALSA lib: test\n"));
}

void TestAlsa::waveOutDevices() {
    StderrCapture capture;
    const SystemWaveOutDevices devices;
    const int count = devices.DeviceCount();
    QStringList names;
    for (int i = 0; i < count; ++i) names.append(devices.DeviceName(i).value_or(QString()));
    const auto defaultName = devices.DeviceName(-1);
    const auto beyond = devices.DeviceName(count);
    const auto negative = devices.DeviceName(-2);
    const QByteArray printed = capture.Finish();

    qInfo() << "wave-out devices:" << count << names << "default:" << defaultName.value_or("?");
    QCOMPARE(printed, QByteArray());
    QVERIFY(count >= 0);
    for (const QString& name : names) QVERIFY(!name.isEmpty());
    QVERIFY(defaultName && !defaultName->isEmpty());
    QVERIFY(!beyond);
    QVERIFY(!negative);
}

void TestAlsa::mixers() {
    StderrCapture capture;
    SystemMixerFactory factory;
    auto mixer = factory.Create();
    const int highest = mixer->HighestDevice();
    QStringList found;
    bool outOfRangeRefused = true;
    for (int d = 0; d <= highest; ++d) {
        mixer->SelectDevice(qint16(d));
        QStringList lines;
        for (int l = 0; l <= mixer->HighestLine(); ++l) {
            mixer->SelectLine(qint16(l));
            lines.append(mixer->CurrentLineName());
        }
        found.append(
            QString("%1 (%2): %3").arg(mixer->CurrentDevice()).arg(mixer->CurrentDeviceName(), lines.join(", ")));
        try {
            mixer->SelectLine(qint16(mixer->HighestLine() + 1));
            outOfRangeRefused = false;
        } catch (const std::runtime_error&) {
        }
    }
    for (int bad : {highest + 1, -1}) {
        try {
            mixer->SelectDevice(qint16(bad));
            outOfRangeRefused = false;
        } catch (const std::runtime_error&) {
        }
    }
    auto second = factory.Create();  // one mixer per feed, each on its own
    const int secondHighest = second->HighestDevice();
    const QByteArray printed = capture.Finish();

    qInfo() << "mixer devices:" << highest + 1 << found;
    QCOMPARE(printed, QByteArray());
    QVERIFY(highest >= -1);
    QCOMPARE(secondHighest, highest);
    QVERIFY(outOfRangeRefused);
    if (highest == -1) {
        QCOMPARE(mixer->CurrentDevice(), -1);
        QCOMPARE(mixer->HighestLine(), -1);
    }
}

void TestAlsa::errorHandlerRestored() {
    const snd_lib_error_handler_t before = snd_lib_error;
    { const SystemWaveOutDevices devices; }
    SystemMixerFactory().Create();
    QVERIFY(snd_lib_error == before);
}

QTEST_MAIN(TestAlsa)
#include "tst_sound_devices_linux.moc"
