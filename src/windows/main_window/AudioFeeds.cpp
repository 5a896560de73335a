#include "windows/main_window/AudioFeeds.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "text/Messages.h"
#include "text/TextTable.h"
#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "windows/shared/Controls.h"

namespace quorvant {

namespace {
Mixer& MixerOf(const std::unique_ptr<Mixer>& mixer) {
    if (!mixer) throw StepFailed();
    return *mixer;
}

// Selects a list position without running the list's change handling.
void SetPositionQuietly(QComboBox* list, int position) {
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(position);
}
}  // namespace

AudioFeeds::AudioFeeds(SetupContext& context) : SetupPart(context) {
    auto* page = new QWidget;
    auto* feeds = new QGridLayout(page);
    for (int feed = 0; feed < 4; ++feed) {
        const QString f = QString("(%1)").arg(feed);
        const QString n = QString::number(feed + 1);
        auto* frame = Named<QGroupBox>("fraAudioFeed" + f, msg::FeedFrameCaption(feed), page);
        FieldRows rows(frame, context_.bindings);
        auto* use = Named<StateCheckBox>("chkUseLine" + f, QString(), frame);
        rows.Row(use);
        auto* cardLabel = Named<QLabel>("lblFeedCard" + f, frame);
        auto* card = Named<QComboBox>("cobMaster" + f, frame);
        auto* channelLabel = Named<QLabel>("lblFeedChan" + f, frame);
        auto* channel = Named<QComboBox>("cobChannel" + f, frame);
        // Device and line names can be long; the lists fill their frame but must not widen the window.
        for (QComboBox* list : {card, channel}) {
            list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            list->setMinimumContentsLength(22);
            list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        }
        rows.Row(cardLabel, card);
        rows.Row(channelLabel, channel);
        ledFeedLevel[feed] =
            rows.Bound<LedSpin>("ledFeedLevel" + f, "lblFeedVol" + f, ServerKey("Faders", "Level" + n), "Label25" + f);
        rows.Grid()->setColumnStretch(2, 1);
        feeds->addWidget(frame, feed / 2, feed % 2);

        // Only the user's picks arrive here: every change the program makes is made quietly.
        QObject::connect(card, &QComboBox::currentIndexChanged, frame, [this, feed](int position) {
            if (position >= 0) CardPicked(feed);
        });
        QObject::connect(channel, &QComboBox::currentIndexChanged, frame, [this, feed] { cobChannel_Click(feed); });

        // Between the automation timing keys and TMFaderSpeed in [Faders].
        Add(Bind(ServerKey("Faders", "UseLine" + n), use).Labelled(use));
        Add(Bind(ServerKey("Faders", "LineCard" + n), &lineCard_[feed]).Labelled(cardLabel));
        Add(Bind(ServerKey("Faders", "LineChannel" + n), &lineChannel_[feed]).Labelled(channelLabel));

        fraAudioFeed[feed] = frame;
        chkUseLine[feed] = use;
        cobMaster[feed] = card;
        cobChannel[feed] = channel;
    }
    context_.TabLayout(Tab::ExternalAudio)->addWidget(page);
    context_.TabLayout(Tab::ExternalAudio)->addStretch(1);
}

AudioFeeds::~AudioFeeds() = default;

void AudioFeeds::LaadScherm() {
    for (int feed = 0; feed < 4; ++feed) fraAudioFeed[feed]->setTitle(Text(feed < 3 ? 187 + feed : 308));
}

QString AudioFeeds::FeedName(int feed) const {
    return fraAudioFeed[feed]->title().isEmpty() ? msg::FeedFrameCaption(feed) : fraAudioFeed[feed]->title();
}

void AudioFeeds::CreateMixers() {
    for (auto& mixer : mixers_) mixer = context_.services.mixers->Create();
}

void AudioFeeds::FillDeviceLists() {
    // The devices and their lines are asked once, of the first feed's mixer; every list shows them.
    for (const auto& mixer : mixers_)
        if (mixer) {
            SkipOnFailure([&] { context_.facts.ReadMixers(*mixer); });
            break;
        }
    QStringList names;
    for (const MachineFacts::MixerDevice& device : context_.facts.mixers.value_or(QList<MachineFacts::MixerDevice>()))
        names << device.name;
    for (int feed = 0; feed < 4; ++feed) {
        if (!mixers_[feed]) continue;
        const QSignalBlocker blocker(cobMaster[feed]);
        cobMaster[feed]->addItems(names);
        // Filling selects the first entry by itself; the list has no selection yet.
        cobMaster[feed]->setCurrentIndex(-1);
    }
}

void AudioFeeds::SelectStoredCards() {
    for (int feed = 0; feed < 4; ++feed) {
        SkipOnFailure([&] {
            const qint32 position = lineCard_[feed];
            // -1 is no selection: there is no card to take.
            if (position == -1) return;
            if (position < 0 || position >= cobMaster[feed]->count()) throw StepFailed();
            SetPositionQuietly(cobMaster[feed], position);
            try {
                cobMaster_Click(feed);
            } catch (...) {
                SetPositionQuietly(cobMaster[feed], shownCard_[feed]);
                throw;
            }
        });
    }
}

void AudioFeeds::SelectStoredChannels() {
    for (int feed = 0; feed < 4; ++feed) {
        SkipOnFailure([&] {
            const QSignalBlocker blocker(cobChannel[feed]);
            SelectPosition(cobChannel[feed], lineChannel_[feed]);
            cobChannel_Click(feed);
        });
    }
}

void AudioFeeds::cobMaster_Click(int feed) {
    Mixer& mixer = MixerOf(mixers_.at(feed));
    mixer.SelectDevice(qint16(cobMaster[feed]->currentIndex()));
    const int device = mixer.CurrentDevice();
    const QStringList lines = context_.facts.LinesOf(device);
    // Only now that the mixer took the device: what the page shows and what the save writes change
    // together.
    lineCard_[feed] = device;
    shownCard_[feed] = cobMaster[feed]->currentIndex();
    const QSignalBlocker blocker(cobChannel[feed]);
    cobChannel[feed]->clear();
    cobChannel[feed]->addItems(lines);
    // No line chosen yet: LineChannel keeps the stored line until the user picks one.
    cobChannel[feed]->setCurrentIndex(-1);
}

void AudioFeeds::CardPicked(int feed) {
    try {
        cobMaster_Click(feed);
    } catch (const std::exception& error) {
        // Back to the card whose lines the channel list shows.
        SetPositionQuietly(cobMaster[feed], shownCard_[feed]);
        context_.services.errors->Report(context_.window, context_.window->windowTitle(),
                                         msg::CardNotChosen(FeedName(feed), QString::fromLocal8Bit(error.what())));
    }
}

void AudioFeeds::cobChannel_Click(int feed) {
    const int position = cobChannel[feed]->currentIndex();
    if (position >= 0) lineChannel_[feed] = position;
}

}  // namespace quorvant
