#pragma once

#include <array>
#include <memory>

#include "windows/main_window/SetupPart.h"

class QComboBox;
class QGroupBox;

namespace quorvant {

class LedSpin;
class StateCheckBox;

// The four external audio feeds with their mixer devices and lines (tab 5).
class AudioFeeds : public SetupPart {
public:
    explicit AudioFeeds(SetupContext& context);
    ~AudioFeeds() override;
    void LaadScherm() override;

    // Start-up, in this order: one mixer per feed; the card lists (the devices and their lines are
    // read then, once); the stored card of each feed (which rebuilds its channel list); the stored
    // channel of each feed.
    void CreateMixers();
    void FillDeviceLists();
    void SelectStoredCards();
    void SelectStoredChannels();

    // A card was picked in cobMaster(feed): the feed's mixer takes that device and the feed's
    // channel list shows its lines anew, without a selection. Throws when the mixer refuses or the
    // device's lines could not be read; the list, LineCard and the channel list are then as they were.
    void cobMaster_Click(int feed);
    // A line was picked in cobChannel(feed).
    void cobChannel_Click(int feed);

    // The device and line numbers the save writes.
    qint32 LineCard(int feed) const { return lineCard_.at(feed); }
    qint32 LineChannel(int feed) const { return lineChannel_.at(feed); }

    std::array<QGroupBox*, 4> fraAudioFeed{};
    std::array<StateCheckBox*, 4> chkUseLine{};
    std::array<QComboBox*, 4> cobMaster{};
    std::array<QComboBox*, 4> cobChannel{};
    std::array<LedSpin*, 4> ledFeedLevel{};

private:
    // The feed's frame caption, or its design caption while the text table has none.
    QString FeedName(int feed) const;
    void CardPicked(int feed);

    std::array<std::unique_ptr<Mixer>, 4> mixers_;
    // Stored device and line per feed (16-bit values); 0 in a fresh window.
    std::array<qint32, 4> lineCard_{};
    std::array<qint32, 4> lineChannel_{};
    // List position of the card whose lines cobChannel shows; -1 before any card was taken.
    std::array<int, 4> shownCard_{-1, -1, -1, -1};
};

}  // namespace quorvant
