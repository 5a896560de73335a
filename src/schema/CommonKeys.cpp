// commonsettings.ini (database folder): the captions of the news buttons, read only. Where a
// caption is empty the button shows the key's own text instead.
#include "schema/KeyData.h"

namespace quorvant::schema::data {

namespace {

constexpr Key Desc(const char* name, int fallbackText) {
    return Entry(File::Common, "Desc", name, Rule::Text).With(ReadOnly).Label(fallbackText).On(Tab::InternalNews);
}

// In the order of the news buttons; national sport (270) comes before regional news (269).
constexpr Key kKeys[] = {
    Desc("NatNews", 268), Desc("NatSport", 270), Desc("RegNews", 269), Desc("RegSport", 271), Desc("Weather", 272),
    Desc("Item1", 294),   Desc("Item2", 295),    Desc("Item3", 296),   Desc("Item4", 297),    Desc("Item5", 298),
};

constexpr Section kSections[] = {{File::Common, "Desc", Window::Setup}};

}  // namespace

std::span<const Key> CommonKeys() { return kKeys; }
std::span<const Section> CommonSections() { return kSections; }

}  // namespace quorvant::schema::data
