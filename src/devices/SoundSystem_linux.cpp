#include "devices/SoundSystem.h"

#include <alsa/asoundlib.h>

#include <memory>

namespace quorvant::sound {

namespace {

void SilentAlsaError(const char*, int, const char*, int, const char*, ...) {}

// ALSA reports its troubles on stderr by default; a settings editor on a machine without (some)
// sound hardware has nothing to tell the user there. The previous handler comes back afterwards.
class QuietAlsa {
public:
    QuietAlsa() : previous_(snd_lib_error) { snd_lib_error_set_handler(&SilentAlsaError); }
    ~QuietAlsa() { snd_lib_error_set_handler(previous_); }
    QuietAlsa(const QuietAlsa&) = delete;
    QuietAlsa& operator=(const QuietAlsa&) = delete;

private:
    snd_lib_error_handler_t previous_;
};

struct CtlCloser {
    void operator()(snd_ctl_t* ctl) const { snd_ctl_close(ctl); }
};
using CtlHandle = std::unique_ptr<snd_ctl_t, CtlCloser>;

struct MixerCloser {
    void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
using MixerHandle = std::unique_ptr<snd_mixer_t, MixerCloser>;

QString HwName(int card) { return QStringLiteral("hw:%1").arg(card); }

std::vector<int> CardNumbers() {
    std::vector<int> cards;
    int card = -1;
    while (snd_card_next(&card) == 0 && card >= 0) cards.push_back(card);
    return cards;
}

CtlHandle OpenControl(int card) {
    snd_ctl_t* ctl = nullptr;
    if (snd_ctl_open(&ctl, HwName(card).toLatin1().constData(), 0) < 0) return nullptr;
    return CtlHandle(ctl);
}

QString CardName(int card, snd_ctl_t* ctl) {
    snd_ctl_card_info_t* info = nullptr;
    snd_ctl_card_info_alloca(&info);
    if (ctl && snd_ctl_card_info(ctl, info) == 0) {
        const QString name = QString::fromUtf8(snd_ctl_card_info_get_name(info)).trimmed();
        if (!name.isEmpty()) return name;
    }
    char* name = nullptr;
    if (snd_card_get_name(card, &name) == 0 && name) {
        const QString result = QString::fromUtf8(name).trimmed();
        free(name);
        if (!result.isEmpty()) return result;
    }
    return HwName(card);
}

}  // namespace

std::vector<Card> Cards() {
    const QuietAlsa quiet;
    std::vector<Card> cards;
    for (int card : CardNumbers()) {
        const CtlHandle ctl = OpenControl(card);
        cards.push_back({card, CardName(card, ctl.get())});
    }
    return cards;
}

QStringList PlaybackDevices() {
    const QuietAlsa quiet;
    QStringList names;
    for (int card : CardNumbers()) {
        const CtlHandle ctl = OpenControl(card);
        if (!ctl) continue;
        const QString cardName = CardName(card, ctl.get());
        snd_pcm_info_t* info = nullptr;
        snd_pcm_info_alloca(&info);
        int device = -1;
        while (snd_ctl_pcm_next_device(ctl.get(), &device) == 0 && device >= 0) {
            snd_pcm_info_set_device(info, unsigned(device));
            snd_pcm_info_set_subdevice(info, 0);
            snd_pcm_info_set_stream(info, SND_PCM_STREAM_PLAYBACK);
            if (snd_ctl_pcm_info(ctl.get(), info) < 0) continue;  // capture only
            QString deviceName = QString::fromUtf8(snd_pcm_info_get_name(info)).trimmed();
            if (deviceName.isEmpty()) deviceName = QString::fromUtf8(snd_pcm_info_get_id(info)).trimmed();
            names.append(deviceName.isEmpty() ? cardName : cardName + QStringLiteral(": ") + deviceName);
        }
    }
    return names;
}

QStringList MixerLines(int card) {
    const QuietAlsa quiet;
    snd_mixer_t* raw = nullptr;
    if (snd_mixer_open(&raw, 0) < 0) return {};
    const MixerHandle mixer(raw);
    if (snd_mixer_attach(raw, HwName(card).toLatin1().constData()) < 0) return {};
    if (snd_mixer_selem_register(raw, nullptr, nullptr) < 0) return {};
    if (snd_mixer_load(raw) < 0) return {};
    QStringList capture;
    QStringList active;
    for (snd_mixer_elem_t* elem = snd_mixer_first_elem(raw); elem; elem = snd_mixer_elem_next(elem)) {
        if (!snd_mixer_selem_is_active(elem)) continue;
        QString name = QString::fromUtf8(snd_mixer_selem_get_name(elem));
        // Several elements may share a name; ALSA tells them apart by index.
        if (const unsigned index = snd_mixer_selem_get_index(elem); index > 0) name += QStringLiteral(",%1").arg(index);
        active.append(name);
        if (snd_mixer_selem_has_capture_volume(elem) || snd_mixer_selem_has_capture_switch(elem)) capture.append(name);
    }
    return capture.isEmpty() ? active : capture;
}

}  // namespace quorvant::sound
