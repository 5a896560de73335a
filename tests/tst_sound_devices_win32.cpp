// The Windows device listing over a machine of the test's own making behind the winmm calls: card
// numbers are winmm's ids, names come from the caps, recording lines are the sources of the
// wave-in destination.
#include <QtTest>

#include "devices/SoundSystem.h"
#include "devices/Winmm.h"
#include "platform/SoundDevices.h"

using namespace quorvant;

namespace {

struct FakeLine {
    QString name;
    DWORD type;  // component type of a destination
    QStringList sources;
};
struct FakeMixer {
    QString name;
    QList<FakeLine> destinations;
};
struct FakeMachine {
    QStringList waveOut;  // "" : the device does not answer its caps
    QList<FakeMixer> mixers;
};
FakeMachine g_machine;

template <size_t N>
void Copy(WCHAR (&to)[N], const QString& text) {
    const qsizetype n = std::min<qsizetype>(text.size(), N);  // winmm may fill it without a NUL
    std::fill(std::begin(to), std::end(to), 0);
    text.left(n).toWCharArray(to);
}

UINT WINAPI WaveOutCount() { return UINT(g_machine.waveOut.size()); }
MMRESULT WINAPI WaveOutCaps(UINT_PTR id, LPWAVEOUTCAPSW caps, UINT) {
    if (id >= UINT_PTR(g_machine.waveOut.size()) || g_machine.waveOut[id].isEmpty()) return MMSYSERR_BADDEVICEID;
    Copy(caps->szPname, g_machine.waveOut[id]);
    return MMSYSERR_NOERROR;
}
UINT WINAPI MixerCount() { return UINT(g_machine.mixers.size()); }
MMRESULT WINAPI MixerCaps(UINT_PTR id, LPMIXERCAPSW caps, UINT) {
    if (id >= UINT_PTR(g_machine.mixers.size())) return MMSYSERR_BADDEVICEID;
    Copy(caps->szPname, g_machine.mixers[id].name);
    caps->cDestinations = DWORD(g_machine.mixers[id].destinations.size());
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI LineInfo(HMIXEROBJ mixer, LPMIXERLINEW line, DWORD flags) {
    const auto id = reinterpret_cast<UINT_PTR>(mixer);
    // MIXER_OBJECTF_MIXER is 0: the handle is a mixer id when no other object type is named.
    if ((flags & 0xF0000000) != MIXER_OBJECTF_MIXER || id >= UINT_PTR(g_machine.mixers.size()))
        return MMSYSERR_INVALHANDLE;
    const auto& destinations = g_machine.mixers[id].destinations;
    if (line->dwDestination >= DWORD(destinations.size())) return MIXERR_INVALLINE;
    const FakeLine& destination = destinations[line->dwDestination];
    if ((flags & MIXER_GETLINEINFOF_QUERYMASK) == MIXER_GETLINEINFOF_DESTINATION) {
        Copy(line->szName, destination.name);
        line->dwComponentType = destination.type;
        line->cConnections = DWORD(destination.sources.size());
        return MMSYSERR_NOERROR;
    }
    if (line->dwSource >= DWORD(destination.sources.size())) return MIXERR_INVALLINE;
    Copy(line->szName, destination.sources[line->dwSource]);
    return MMSYSERR_NOERROR;
}

}  // namespace

class TestSoundDevicesWin32 : public QObject {
    Q_OBJECT

private slots:
    void init() { real_ = sound::UseWinmmCalls({&WaveOutCount, &WaveOutCaps, &MixerCount, &MixerCaps, &LineInfo}); }
    void cleanup() { sound::UseWinmmCalls(real_); }

    void listing_data() {
        QTest::addColumn<int>("mixers");  // place in mixers_
        QTest::addColumn<QStringList>("waveOut");
        QTest::addColumn<QStringList>("expectedPlayback");
        QTest::addColumn<QStringList>("expectedCards");   // "id name"
        QTest::addColumn<QStringList>("expectedLines0");  // lines of the first card

        const FakeLine speakers{"Luidsprekers", MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, {"Wave", "CD"}};
        const FakeLine recording{"Opnemen", MIXERLINE_COMPONENTTYPE_DST_WAVEIN, {"Lijn in", "Microfoon"}};
        mixers_.clear();
        // A machine without sound hardware lists nothing.
        mixers_ << QList<FakeMixer>{};
        QTest::newRow("none") << 0 << QStringList() << QStringList() << QStringList() << QStringList();
        // Ids keep their places, also of a device that will not say its name; a full name array
        // without NUL is read to its end.
        const QString full(MAXPNAMELEN, u'x');
        mixers_ << QList<FakeMixer>{{"Kaart A", {speakers, recording}}, {full, {speakers}}};
        QTest::newRow("two cards") << 1 << QStringList{"Kaart A", "", full} << QStringList{"Kaart A", "1", full}
                                   << QStringList{"0 Kaart A", "1 " + full} << QStringList{"Lijn in", "Microfoon"};
        // A card that cannot record offers all its lines.
        mixers_ << QList<FakeMixer>{{"USB", {speakers}}};
        QTest::newRow("no recording") << 2 << QStringList{"USB"} << QStringList{"USB"} << QStringList{"0 USB"}
                                      << QStringList{"Luidsprekers", "Wave", "CD"};
    }

    void listing() {
        QFETCH(int, mixers);
        QFETCH(QStringList, waveOut);
        QFETCH(QStringList, expectedPlayback);
        QFETCH(QStringList, expectedCards);
        QFETCH(QStringList, expectedLines0);
        g_machine = {waveOut, mixers_.at(mixers)};
        QCOMPARE(sound::PlaybackDevices(), expectedPlayback);
        QStringList cards;
        for (const sound::Card& card : sound::Cards()) cards << QString("%1 %2").arg(card.number).arg(card.name);
        QCOMPARE(cards, expectedCards);
        QCOMPARE(sound::MixerLines(0), expectedLines0);
        QCOMPARE(sound::MixerLines(int(g_machine.mixers.size())), QStringList());

        // The window's services count the same devices; -1 is the wave mapper.
        const SystemWaveOutDevices devices;
        QCOMPARE(devices.DeviceCount(), int(expectedPlayback.size()));
        QVERIFY(devices.DeviceName(-1).has_value());
        QVERIFY(!devices.DeviceName(devices.DeviceCount()).has_value());
        auto mixer = SystemMixerFactory().Create();
        QCOMPARE(mixer->HighestDevice(), int(expectedCards.size()) - 1);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, mixer->SelectDevice(qint16(expectedCards.size())));
    }

private:
    sound::WinmmCalls real_{};
    QList<QList<FakeMixer>> mixers_;
};

QTEST_GUILESS_MAIN(TestSoundDevicesWin32)
#include "tst_sound_devices_win32.moc"
