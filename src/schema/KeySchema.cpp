#include "schema/KeySchema.h"

#include <QHash>
#include <array>
#include <stdexcept>
#include <vector>

#include "schema/KeyData.h"
#include "settings/SettingsFiles.h"
#include "text/TextTable.h"

namespace quorvant::schema {

namespace {

template <class T>
std::vector<T> Joined(std::initializer_list<std::span<const T>> parts) {
    std::vector<T> all;
    for (std::span<const T> part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<Key>& AllKeys() {
    static const std::vector<Key> keys = Joined<Key>({data::ServerKeys(), data::NewsKeys(), data::CommonKeys()});
    return keys;
}

const std::vector<Section>& AllSections() {
    static const std::vector<Section> sections =
        Joined<Section>({data::ServerSections(), data::NewsSections(), data::CommonSections()});
    return sections;
}

// Keys by file, section and name, compared without regard to case; a patterned section is entered
// once per section it names.
using Index = QHash<QString, const Key*>;
QString IndexName(File file, const QString& section, const QString& name) {
    return QString::number(int(file)) + u'\x1f' + section.toLower() + u'\x1f' + name.toLower();
}
const Index& ByName() {
    static const Index index = [] {
        Index built;
        for (const Key& key : AllKeys())
            for (const QString& section : SectionNames(key.section))
                built.insert(IndexName(key.file, section, key.Name()), &key);
        return built;
    }();
    return index;
}

}  // namespace

std::span<const Key> Keys() { return AllKeys(); }
std::span<const Section> Sections() { return AllSections(); }

// One file's part of a table that holds the three files one after the other.
template <class T>
std::span<const T> PartOf(const std::vector<T>& all, File file, std::initializer_list<std::size_t> sizes) {
    std::size_t at = 0;
    auto size = sizes.begin();
    for (int i = 0; i < int(file); ++i) at += *size++;
    return std::span<const T>(all).subspan(at, *size);
}

std::span<const Key> KeysOf(File file) {
    return PartOf(AllKeys(), file, {data::ServerKeys().size(), data::NewsKeys().size(), data::CommonKeys().size()});
}

std::span<const Section> SectionsOf(File file) {
    return PartOf(AllSections(), file,
                  {data::ServerSections().size(), data::NewsSections().size(), data::CommonSections().size()});
}

const Key* Lookup(File file, const QString& section, const QString& name) {
    return ByName().value(IndexName(file, section, name), nullptr);
}

const Key& Find(File file, const QString& section, const QString& name) {
    for (const Key& key : KeysOf(file))
        if (QLatin1String(key.section) == section && QLatin1String(key.name) == name) return key;
    throw std::logic_error(("no key [" + section + "] " + name + " in " + FileName(file)).toStdString());
}

const Key& Find(File file, Window window, const QString& name) {
    for (const Key& key : KeysOf(file))
        if (key.window == window && QLatin1String(key.name) == name) return key;
    throw std::logic_error(("no key " + name + " of " + WindowName(window) + " in " + FileName(file)).toStdString());
}

const Section& SectionOf(const Key& key) {
    for (const Section& section : SectionsOf(key.file))
        if (section.window == key.window && qstrcmp(section.name, key.section) == 0) return section;
    throw std::logic_error(("no section of [" + key.Section() + "] " + key.Name()).toStdString());
}

QStringList SectionNames(const char* pattern) { return QString::fromLatin1(pattern).split(u'|'); }

QStringList WriteOrder(const Section& section) {
    if (section.writeOrder) return QString::fromLatin1(section.writeOrder).split(u' ', Qt::SkipEmptyParts);
    QStringList order;
    for (const Key& key : KeysOf(section.file))
        if (key.window == section.window && qstrcmp(key.section, section.name) == 0 && !key.Has(ReadOnly))
            order << key.WriteName();
    return order;
}

int IndexOf(const Key& key) { return int(&key - AllKeys().data()); }

// Names by enumerator, in declaration order.
QString FileName(File file) {
    const std::array<QString, 3> names = {kServerIni, kNewsIni, kCommonSettingsIni};
    return names[std::size_t(file)];
}

QString WindowName(Window window) {
    static const char* const names[] = {"frmSetup", "frmIntNews", "frmFloatNews", "frmFloatTime", "frmMultiJingles"};
    return QString::fromLatin1(names[std::size_t(window)]);
}

QString RuleName(Rule rule) {
    static const char* const names[] = {"text",        "empty-default", "whole-number", "one-means-on",
                                        "check-state", "list-position", "pair",         "option",
                                        "day-string",  "colour",        "port"};
    return QString::fromLatin1(names[std::size_t(rule)]);
}

namespace {
QString Words(const Caption& c) { return c.text ? Text(c.text) : c.fixed ? c.fixed() : QString(); }
}  // namespace

QString LabelText(const Key& key) {
    QString text = Words(key.caption);
    if (key.caption.number) text += QStringLiteral(" %1").arg(key.caption.number);
    return text;
}

QString UnitText(const Key& key) { return Words(key.unit); }

QString CaptionText(const Key& key) {
    const QString text = LabelText(key);
    return key.caption.group ? Text(key.caption.group) + QStringLiteral(": ") + text : text;
}

QString PageText(const Key& key) { return key.tab == Tab::None ? QString() : Text(104 + int(key.tab)); }

QStringList IrregularNames(unsigned irregular) {
    static const char* const names[] = {"EmptyKeeps",      "EmptyIsOff",   "FailGivesDefault", "WordKeeps",
                                        "WrittenTrimmed",  "WrittenAsNumber", "BadHourKeeps", "ExactText",
                                        "KeepsOutOfRange", "ReadOnly",     "SoundDevice",      "MixerNumber",
                                        "DatabaseFolder",  "FolderPath",   "LocalPort",        "GenreName"};
    QStringList list;
    for (unsigned bit = 0; bit < std::size(names); ++bit)
        if (irregular & (1u << bit)) list << QString::fromLatin1(names[bit]);
    return list;
}

QStringList NewsItemSections() {
    for (const Section& section : SectionsOf(File::News))
        if (section.window == Window::IntNews) return SectionNames(section.name);
    return {};
}

}  // namespace quorvant::schema
