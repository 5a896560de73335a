#include "windows/main_window/AudioFeeds.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "binding/ControlRows.h"
#include "text/Messages.h"
#include "text/TextTable.h"
#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "windows/shared/DialogSupport.h"

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
        auto* frame = Named<QGroupBox>(QString("fraAudioFeed(%1)").arg(feed), msg::FeedFrameCaption(feed), page);
        auto* grid = new QGridLayout(frame);

        // The text table has no text for the fourth box; its own caption names its own feed.
        auto* use = Named<StateCheckBox>(QString("chkUseLine(%1)").arg(feed), msg::FeedUseCaption(feed), frame);

        auto* cardLabel = Named<QLabel>(QString("lblFeedCard(%1)").arg(feed), msg::FeedCardCaption(), frame);
        auto* card = Named<QComboBox>(QString("cobMaster(%1)").arg(feed), frame);
        cardLabel->setBuddy(card);

        auto* channelLabel = Named<QLabel>(QString("lblFeedChan(%1)").arg(feed), msg::FeedChannelCaption(), frame);
        auto* channel = Named<QComboBox>(QString("cobChannel(%1)").arg(feed), frame);
        channelLabel->setBuddy(channel);
        // Device and line names can be long; the lists must not widen the window.
        for (QComboBox* list : {card, channel}) {
            list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            list->setMinimumContentsLength(22);
        }

        auto* levelLabel = Named<QLabel>(QString("lblFeedVol(%1)").arg(feed), msg::FeedLevelCaption(), frame);
        auto* level = Named<LedSpin>(QString("ledFeedLevel(%1)").arg(feed), frame);
        levelLabel->setBuddy(level);
        auto* unit = Named<QLabel>(QString("Label25(%1)").arg(feed), msg::PercentUnit(), frame);

        grid->addWidget(use, 0, 0, 1, 3);
        grid->addWidget(cardLabel, 1, 0);
        grid->addWidget(card, 1, 1, 1, 2);
        grid->addWidget(channelLabel, 2, 0);
        grid->addWidget(channel, 2, 1, 1, 2);
        grid->addWidget(levelLabel, 3, 0);
        grid->addWidget(level, 3, 1, Qt::AlignLeft);
        grid->addWidget(unit, 3, 2, Qt::AlignLeft);
        grid->setColumnStretch(2, 1);
        feeds->addWidget(frame, feed / 2, feed % 2);

        // Only the user's picks arrive here: every change the program makes is made quietly.
        QObject::connect(card, &QComboBox::currentIndexChanged, frame, [this, feed](int position) {
            if (position >= 0) CardPicked(feed);
        });
        QObject::connect(channel, &QComboBox::currentIndexChanged, frame, [this, feed] { cobChannel_Click(feed); });

        fraAudioFeed[feed] = frame;
        chkUseLine[feed] = use;
        lblFeedCard[feed] = cardLabel;
        cobMaster[feed] = card;
        lblFeedChan[feed] = channelLabel;
        cobChannel[feed] = channel;
        lblFeedVol[feed] = levelLabel;
        ledFeedLevel[feed] = level;
        Label25[feed] = unit;
    }
    context_.TabLayout(Tab::ExternalAudio)->addWidget(page);
    context_.TabLayout(Tab::ExternalAudio)->addStretch(1);

    // Between the automation timing keys and TMFaderSpeed in [Faders].
    for (int feed = 0; feed < 4; ++feed) {
        const QString n = QString::number(feed + 1);
        Add(Bind(ServerKey("Faders", "UseLine" + n), chkUseLine[feed]).Labelled(chkUseLine[feed]));
        Add(Bind(ServerKey("Faders", "LineCard" + n), &lineCard_[feed]).Labelled(lblFeedCard[feed]));
        Add(Bind(ServerKey("Faders", "LineChannel" + n), &lineChannel_[feed]).Labelled(lblFeedChan[feed]));
        Add(Bind(ServerKey("Faders", "Level" + n), ledFeedLevel[feed]).Labelled(lblFeedVol[feed]));
    }
}

AudioFeeds::~AudioFeeds() = default;

void AudioFeeds::LaadScherm() {
    for (int feed = 0; feed < 4; ++feed) {
        fraAudioFeed[feed]->setTitle(Text(feed < 3 ? 187 + feed : 308));
        // Four lists share each label text; the frame tells them apart.
        const QString frame = FeedName(feed);
        cobMaster[feed]->setAccessibleName(QString("%1: %2").arg(frame, TextOr(196, msg::FeedCardCaption())));
        cobChannel[feed]->setAccessibleName(QString("%1: %2").arg(frame, TextOr(197, msg::FeedChannelCaption())));
        ledFeedLevel[feed]->setAccessibleName(QString("%1: %2 (%)").arg(frame, TextOr(198, msg::FeedLevelCaption())));
    }
}

QString AudioFeeds::FeedName(int feed) const {
    return fraAudioFeed[feed]->title().isEmpty() ? msg::FeedFrameCaption(feed) : fraAudioFeed[feed]->title();
}

void AudioFeeds::CreateMixers() {
    for (auto& mixer : mixers_) mixer = context_.services.mixers->Create();
}

void AudioFeeds::FillDeviceLists() {
    for (int feed = 0; feed < 4; ++feed) {
        SkipOnFailure([&] {
            Mixer& mixer = MixerOf(mixers_[feed]);
            // List position = device number: a device the mixer refuses ends the list there.
            QStringList names;
            const auto fill = qScopeGuard([&] {
                const QSignalBlocker blocker(cobMaster[feed]);
                cobMaster[feed]->addItems(names);
                // Filling selects the first entry by itself; the list has no selection yet.
                cobMaster[feed]->setCurrentIndex(-1);
            });
            for (int device = 0; device <= mixer.HighestDevice(); ++device) {
                mixer.SelectDevice(qint16(device));
                names << mixer.CurrentDeviceName();
            }
        });
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
    QStringList lines;
    for (int line = 0; line <= mixer.HighestLine(); ++line) {
        mixer.SelectLine(qint16(line));
        lines << mixer.CurrentLineName();
    }
    // Only now that the mixer has given everything: what the page shows and what the save
    // writes change together.
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
