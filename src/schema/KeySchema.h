#pragma once

// Every key of the settings files that a window reads or writes, declared once as data: where it
// lives, how its text becomes a value, its default and limits, its caption and where it is shown.
// The windows bind their controls to these entries; quorvant-ini and the checks read them without
// any widget. The data itself is in ServerKeys.cpp, NewsKeys.cpp and CommonKeys.cpp, one per file.

#include <QString>
#include <QStringList>
#include <span>

#include "settings/IntWidth.h"

namespace quorvant::schema {

enum class File { Server, News, Common };

enum class Window { Setup, IntNews, FloatNews, FloatTime, MultiJingles };

// The main window's tab pages, in tab order (captions: texts 104..116).
enum class Tab {
    FileLocations,        // Bestandslocaties
    SoundCards,           // Geluidskaarten
    Automation,           // Automatisatie
    Miscellaneous,        // Allerlei
    Colours,              // Kleuren
    ExternalAudio,        // Externe Audio
    IoInterface,          // I/O Interface
    InterPc,              // Inter PC
    TimeSignalBlock,      // Tijdseinblok
    ExternalControl,      // Externe Aansturing
    ExternalNews,         // Extern Nieuws
    FloatingCommercials,  // Vlottende Reclame: no controls, switched off at start-up
    InternalNews,         // Intern Nieuws
    None,                 // a dialog
};
constexpr int kTabs = 13;

// How a stored text becomes a value (the value rules of settings/ValueRules.h).
enum class Rule {
    Text,          // taken character for character
    EmptyDefault,  // empty: the default; otherwise a whole number
    WholeNumber,   // a whole number; empty fails
    OneMeansOn,    // exactly 1 is on, anything else off
    CheckState,    // 0 off, 1 on, 2 grey
    ListPosition,  // -1 (none) up to the list's last position
    Pair,          // two option buttons: one-means-on selects the second
    Option,        // the number of the selected option button
    DayString,     // 24 hour states of one day, each 0, 1 or 2
    Colour,        // 0x00BBGGRR
    Port,          // a network port, read as text
};

// Where a key departs from its rule's usual way. Each is named on the keys that have it.
enum Irregular : unsigned {
    EmptyKeeps = 1u << 0,        // an empty text leaves the control as it is
    EmptyIsOff = 1u << 1,        // check state: an empty text reads as off
    FailGivesDefault = 1u << 2,  // a text the rule refuses reads as the default, instead of being skipped
    WordKeeps = 1u << 3,         // a text that is no number leaves the control as it is
    WrittenTrimmed = 1u << 4,    // written without the spaces around it
    WrittenAsNumber = 1u << 5,   // read as text, written as a 32-bit whole number
    BadHourKeeps = 1u << 6,      // day string: a character other than 0, 1, 2 leaves its hour (else reads 0)
    ExactText = 1u << 7,         // compared as text with "0".."n", never converted as a number
    KeepsOutOfRange = 1u << 8,   // a number outside the limits is taken as it stands (else refused); marked either way
    ReadOnly = 1u << 9,          // read, never written
    SoundDevice = 1u << 10,      // a sound card of this machine: -1 (the default device) up to its last
    MixerNumber = 1u << 11,      // a mixer device or line of this machine
    DatabaseFolder = 1u << 12,   // names the database folder the rest of the run reads from
    FolderPath = 1u << 13,       // names a folder the server reads or writes (checked: it is there)
    LocalPort = 1u << 14,        // a port this machine listens on (checked: no two enabled links share it)
    GenreName = 1u << 15,        // a genre of the database's genre list (checked when the list was read)
};

// A caption: text `text` of the table, or a fixed text where the language file gives none;
// `group` (a frame's text) goes before it, `number` (a place among like controls) after it.
struct Caption {
    int text = 0;
    QString (*fixed)() = nullptr;
    int group = 0;
    int number = 0;
};

struct Limits {
    qint32 lowest = 0;
    qint32 highest = 0;
    qint32 step = 1;
    int digits = 0;  // LED fields only
};

struct Key {
    File file = File::Server;
    const char* section = "";   // several sections that share the keys: "A|B|C"
    const char* name = "";      // as the read pass asks for it
    const char* writtenAs = nullptr;  // the write pass's name where it differs
    Rule rule = Rule::Text;
    IntWidth width = IntWidth::Bits32;  // how a number is read (the write width goes with the control)
    bool hasDefault = false;
    qint32 fallback = 0;
    bool hasLimits = false;
    Limits limits{};
    qint32 initial = 0;  // what an LED field shows before (or without) a read
    unsigned irregular = 0;
    Caption caption{};
    Caption unit{};  // what a number counts in ("msec"), shown beside its control
    Window window = Window::Setup;
    Tab tab = Tab::None;

    // Declaration helpers, so a table row reads as a sentence.
    template <class Change>
    constexpr Key Changed(Change change) const {
        Key k = *this;
        change(k);
        return k;
    }
    constexpr Key Default(qint32 value) const { return Changed([&](Key& k) { k.hasDefault = true, k.fallback = value; }); }
    constexpr Key Range(qint32 lowest, qint32 highest, qint32 step = 1, int digits = 0) const {
        return Changed([&](Key& k) { k.hasLimits = true, k.limits = {lowest, highest, step, digits}; });
    }
    constexpr Key Initially(qint32 value) const { return Changed([&](Key& k) { k.initial = value; }); }
    constexpr Key Bits16() const { return Changed([](Key& k) { k.width = IntWidth::Bits16; }); }
    constexpr Key WrittenAs(const char* name) const { return Changed([&](Key& k) { k.writtenAs = name; }); }
    constexpr Key With(unsigned flags) const { return Changed([&](Key& k) { k.irregular |= flags; }); }
    constexpr Key Label(int id, int group = 0, int number = 0) const {
        return Changed([&](Key& k) { k.caption = {id, nullptr, group, number}; });
    }
    constexpr Key FixedLabel(QString (*text)(), int group = 0) const {
        return Changed([&](Key& k) { k.caption = {0, text, group, 0}; });
    }
    constexpr Key Unit(int id) const { return Changed([&](Key& k) { k.unit = {id, nullptr, 0, 0}; }); }
    constexpr Key FixedUnit(QString (*text)()) const { return Changed([&](Key& k) { k.unit = {0, text, 0, 0}; }); }
    constexpr Key On(Tab page) const { return Changed([&](Key& k) { k.tab = page; }); }
    constexpr Key In(Window shownIn) const { return Changed([&](Key& k) { k.window = shownIn; }); }

    bool Has(Irregular flag) const { return (irregular & flag) != 0; }
    bool HasUnit() const { return unit.text || unit.fixed; }
    QString Section() const { return QString::fromLatin1(section); }
    QString Name() const { return QString::fromLatin1(name); }
    QString WriteName() const { return QString::fromLatin1(writtenAs ? writtenAs : name); }
};

// A row start: file, section, key and rule.
constexpr Key Entry(File file, const char* section, const char* name, Rule rule) {
    Key k;
    k.file = file;
    k.section = section;
    k.name = name;
    k.rule = rule;
    return k;
}

enum class ReadMode {
    SkipOnFailure,  // a step that fails is skipped alone
    Strict,         // the first failure ends the read of the section
};

// A section as one window reads and writes it. Two windows may share a section, never a key.
struct Section {
    File file;
    const char* name;  // as in Key::section
    Window window;
    ReadMode read = ReadMode::SkipOnFailure;
    // The write names in the order the save writes them, blank-separated; null: the read order.
    const char* writeOrder = nullptr;
};

// Everything, in declaration order: files in the order above, sections in the order of the
// windows' passes, keys in read order.
std::span<const Key> Keys();
std::span<const Section> Sections();
std::span<const Key> KeysOf(File file);
std::span<const Section> SectionsOf(File file);

// The entry of a key; throws std::logic_error for a key the schema does not hold (a window that
// binds it has a programming error).
const Key& Find(File file, const QString& section, const QString& name);
// The same for the key `name` that window `window` shows in `file` (a dialog's keys are unique).
const Key& Find(File file, Window window, const QString& name);
// The entry a file's key falls under, for any of the sections its pattern names; null when unknown.
// Names compare without regard to case, as the settings files do.
const Key* Lookup(File file, const QString& section, const QString& name);
const Section& SectionOf(const Key& key);
// The sections a pattern names ("A|B" gives A and B).
QStringList SectionNames(const char* pattern);
// The write names of the section's keys in write order.
QStringList WriteOrder(const Section& section);
// Position of the key in Keys(), for ordering.
int IndexOf(const Key& key);

QString FileName(File file);
QString WindowName(Window window);
// The caption in words (from the text table, so texts must be loaded): LabelText is what the
// key's own label shows, CaptionText puts the frame's caption before it. The page's caption is
// empty for a dialog.
QString LabelText(const Key& key);
QString CaptionText(const Key& key);
QString PageText(const Key& key);
// The unit in words; empty for a key without one.
QString UnitText(const Key& key);
QString RuleName(Rule rule);
// The names of the irregularities a key has ("EmptyKeeps", ...), in declaration order.
QStringList IrregularNames(unsigned irregular);

// The sections of the ten news items in news.ini, in the order of the news buttons.
QStringList NewsItemSections();

}  // namespace quorvant::schema
