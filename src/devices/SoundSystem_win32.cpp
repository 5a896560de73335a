#include "devices/SoundSystem.h"

#include "devices/Winmm.h"

namespace quorvant::sound {

namespace {

WinmmCalls g_calls = {&::waveOutGetNumDevs, &::waveOutGetDevCapsW, &::mixerGetNumDevs, &::mixerGetDevCapsW,
                      &::mixerGetLineInfoW};

// winmm names are fixed arrays that need not end in a NUL when full.
template <size_t N>
QString NameOf(const WCHAR (&name)[N]) {
    size_t length = 0;
    while (length < N && name[length] != 0) ++length;
    return QString::fromWCharArray(name, qsizetype(length)).trimmed();
}

bool LineInfo(int card, MIXERLINEW* line, DWORD how) {
    line->cbStruct = sizeof *line;
    return g_calls.mixerGetLineInfoW(reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(card)), line,
                                     MIXER_OBJECTF_MIXER | how) == MMSYSERR_NOERROR;
}

}  // namespace

WinmmCalls UseWinmmCalls(const WinmmCalls& calls) {
    const WinmmCalls before = g_calls;
    g_calls = calls;
    return before;
}

std::vector<Card> Cards() {
    std::vector<Card> cards;
    const UINT count = g_calls.mixerGetNumDevs();
    for (UINT id = 0; id < count; ++id) {
        MIXERCAPSW caps{};
        QString name;
        if (g_calls.mixerGetDevCapsW(id, &caps, sizeof caps) == MMSYSERR_NOERROR) name = NameOf(caps.szPname);
        cards.push_back({int(id), name.isEmpty() ? QStringLiteral("hw:%1").arg(id) : name});
    }
    return cards;
}

QStringList PlaybackDevices() {
    // The server stores the wave-out id, so every id keeps its place, also one that will not say
    // its name.
    QStringList names;
    const UINT count = g_calls.waveOutGetNumDevs();
    for (UINT id = 0; id < count; ++id) {
        WAVEOUTCAPSW caps{};
        QString name;
        if (g_calls.waveOutGetDevCapsW(id, &caps, sizeof caps) == MMSYSERR_NOERROR) name = NameOf(caps.szPname);
        names.append(name.isEmpty() ? QStringLiteral("%1").arg(id) : name);
    }
    return names;
}

QStringList MixerLines(int card) {
    MIXERCAPSW caps{};
    if (card < 0 || g_calls.mixerGetDevCapsW(UINT_PTR(card), &caps, sizeof caps) != MMSYSERR_NOERROR) return {};
    QStringList recording;
    QStringList all;
    for (DWORD d = 0; d < caps.cDestinations; ++d) {
        MIXERLINEW destination{};
        destination.dwDestination = d;
        if (!LineInfo(card, &destination, MIXER_GETLINEINFOF_DESTINATION)) continue;
        const bool records = destination.dwComponentType == MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
        all.append(NameOf(destination.szName));
        for (DWORD s = 0; s < destination.cConnections; ++s) {
            MIXERLINEW source{};
            source.dwDestination = d;
            source.dwSource = s;
            if (!LineInfo(card, &source, MIXER_GETLINEINFOF_SOURCE)) continue;
            (records ? recording : all).append(NameOf(source.szName));
        }
    }
    return recording.isEmpty() ? all : recording;
}

}  // namespace quorvant::sound
