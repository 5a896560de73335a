#pragma once

#include <QtGlobal>

namespace quorvant {

// The ten internal news items, in the order of the news buttons cdmExtNews(0..9); their sections
// and descriptions are in the key schema.
constexpr int kNewsItems = 10;

// The news button pressed last (0..9), shared by the main window and the news schedule dialog.
extern qint16 SelectedNewsItem;

}  // namespace quorvant
