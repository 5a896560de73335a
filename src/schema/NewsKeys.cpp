// news.ini: the news folder of the main window and the schedule of each internal news item.
#include "schema/KeyData.h"
#include "text/Messages.h"

namespace quorvant::schema::data {

namespace {

using enum Rule;

// The ten news items' sections, in the order of the news buttons cdmExtNews(0..9).
constexpr const char* kItems = "NatNieuws|NatSport|RegNieuws|RegSport|Weer|Item1|Item2|Item3|Item4|Item5";

constexpr Key N(const char* section, const char* name, Rule rule) { return Entry(File::News, section, name, rule); }
constexpr Key Item(const char* name, Rule rule) { return N(kItems, name, rule).In(Window::IntNews); }

constexpr Key kKeys[] = {
    // Read only when not empty; written trimmed, also when empty.
    N("Blokken", "BlokkenPath", Text).With(EmptyKeeps | WrittenTrimmed | FolderPath).Label(266).On(Tab::InternalNews),

    Item("File", Text).With(WrittenTrimmed).Label(275),
    // Empty or a word: unchanged; exactly 1 (1, 1.0): on; any other number: off. Written for every
    // item, also where the box is hidden.
    Item("Rotate", OneMeansOn).With(EmptyKeeps | WordKeeps).FixedLabel(msg::AutoRotateCaption),
    // Two digits, yet 100 is allowed.
    Item("Oud", EmptyDefault).Range(0, 100, 1, 2).Default(0).With(KeepsOutOfRange).Label(276),
    Item("MA", DayString).Label(237, 278),
    Item("DI", DayString).Label(238, 278),
    Item("WO", DayString).Label(239, 278),
    Item("DO", DayString).Label(240, 278),
    Item("VR", DayString).Label(241, 278),
    Item("ZA", DayString).Label(242, 278),
    Item("ZO", DayString).Label(243, 278),
    // Only an empty value gives 150; a stored 0 stays 0.
    Item("Tijd", EmptyDefault).Range(0, 99999, 10, 5).Default(150).With(KeepsOutOfRange).Label(293),
};

constexpr Section kSections[] = {
    {File::News, "Blokken", Window::Setup, ReadMode::Strict},
    {File::News, kItems, Window::IntNews, ReadMode::SkipOnFailure, "File Oud Rotate MA DI WO DO VR ZA ZO Tijd"},
};

}  // namespace

std::span<const Key> NewsKeys() { return kKeys; }
std::span<const Section> NewsSections() { return kSections; }

}  // namespace quorvant::schema::data
