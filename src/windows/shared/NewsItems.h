#pragma once

#include <QtGlobal>
#include <array>

namespace quorvant {

// The ten internal news items, in the order of the news buttons cdmExtNews(0..9).
constexpr int kNewsItems = 10;

struct NewsItem {
    const char* section;         // its schedule's section in news.ini
    const char* descriptionKey;  // its button caption's key in commonsettings.ini [Desc]
    int fallbackText;            // text id on the button when [Desc] gives no caption
};

const std::array<NewsItem, kNewsItems>& NewsItems();

// The news button pressed last (0..9), shared by the main window and the news schedule dialog.
extern qint16 SelectedNewsItem;

}  // namespace quorvant
