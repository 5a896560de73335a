#include "main_window/AudioFeeds.h"

namespace quorvant {

AudioFeeds::AudioFeeds(SetupContext& context) : SetupPart(context) {}

void AudioFeeds::LaadScherm() {}

void AudioFeeds::CreateMixers() {}

void AudioFeeds::FillDeviceLists() {}

void AudioFeeds::SelectStoredCards() {}

void AudioFeeds::SelectStoredChannels() {}

}  // namespace quorvant
