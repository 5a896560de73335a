#include "windows/shared/NewsItems.h"

namespace quorvant {

qint16 SelectedNewsItem = 0;

const std::array<NewsItem, kNewsItems>& NewsItems() {
    // Note the order of the fallbacks: national sport (270) comes before regional news (269).
    static const std::array<NewsItem, kNewsItems> items = {{{"NatNieuws", "NatNews", 268},
                                                            {"NatSport", "NatSport", 270},
                                                            {"RegNieuws", "RegNews", 269},
                                                            {"RegSport", "RegSport", 271},
                                                            {"Weer", "Weather", 272},
                                                            {"Item1", "Item1", 294},
                                                            {"Item2", "Item2", 295},
                                                            {"Item3", "Item3", 296},
                                                            {"Item4", "Item4", 297},
                                                            {"Item5", "Item5", 298}}};
    return items;
}

}  // namespace quorvant
