#pragma once

namespace quorvant {

// The ten internal news items, in the order of the news buttons cdmExtNews(0..9); their sections
// and descriptions are in the key schema.
constexpr int kNewsItems = 10;

}  // namespace quorvant
