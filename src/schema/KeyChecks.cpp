#include "schema/KeyChecks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>

#include "settings/PathChecks.h"
#include "settings/SettingsFiles.h"

namespace quorvant::schema {

std::optional<bool> LocalFacts::IsFolder(const QString& path) const {
    if (!QDir::isAbsolutePath(path)) return std::nullopt;
    return QFileInfo(path).isDir();
}

std::optional<bool> LocalFacts::IsReadableFile(const QString& path) const {
    if (!QDir::isAbsolutePath(path)) return std::nullopt;
    // Only a regular file is opened: opening a FIFO under the name would wait for a writer.
    if (!QFileInfo(path).isFile()) return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

namespace {

Finding Make(const Key& key, const QString& section, const QString& text, Problem problem, qint64 lowest = 0,
             qint64 highest = 0) {
    Finding finding;
    finding.key = &key;
    finding.section = section;
    finding.text = text;
    finding.problem = problem;
    finding.lowest = lowest;
    finding.highest = highest;
    return finding;
}

// The keys that share a frame (caption group) in the same section pattern: a network link, a feed.
bool SameGroup(const Key& a, const Key& b) {
    return a.file == b.file && qstrcmp(a.section, b.section) == 0 && a.caption.group == b.caption.group;
}

const Key* FirstOfGroup(const Key& key, bool (*fits)(const Key&)) {
    for (const Key& other : KeysOf(key.file))
        if (SameGroup(key, other) && fits(other)) return &other;
    return nullptr;
}

bool IsMixerNumber(const Key& key) { return key.Has(MixerNumber); }
bool IsLinkSwitch(const Key& key) { return key.rule == Rule::OneMeansOn || key.rule == Rule::CheckState; }

std::optional<qint64> NumberOf(const Key& key, const QString& section, const Values& values) {
    const std::optional<QString> text = values(key, section);
    if (!text) return std::nullopt;
    const Reading reading = Interpret(key, *text);
    return reading.problem == Problem::NotRead ? std::nullopt : reading.number;
}

// A count of devices this machine has; none, or not known, skips the check.
std::optional<int> Known(std::optional<int> count) { return count && *count > 0 ? count : std::nullopt; }

std::optional<Finding> CheckReference(const Key& key, const QString& section, const QString& text, const Values& values,
                                      const MachineFacts& facts) {
    const std::optional<qint64> number = Interpret(key, text).number;
    if (key.Has(FolderPath) && !text.trimmed().isEmpty()) {
        if (facts.IsFolder(text) == false) {
            Finding finding = Make(key, section, text, Problem::NoFolder);
            finding.detail = text;
            return finding;
        }
        if (key.Has(DatabaseFolder) && facts.IsFolder(text) == true &&
            facts.IsReadableFile(JoinPath(text, kGenreDatabase)) == false) {
            Finding finding = Make(key, section, text, Problem::NoDatabase);
            finding.detail = text;
            return finding;
        }
    }
    if (key.Has(SoundDevice) && number && *number != -1)
        if (const std::optional<int> devices = Known(facts.SoundDevices()); devices && (*number < -1 || *number >= *devices))
            return Make(key, section, text, Problem::NoSoundDevice, -1, *devices - 1);
    if (key.Has(MixerNumber) && number && *number != -1) {
        const Key* device = FirstOfGroup(key, IsMixerNumber);
        const std::optional<int> devices = Known(facts.MixerDevices());
        if (device == &key) {
            if (devices && (*number < 0 || *number >= *devices))
                return Make(key, section, text, Problem::NoMixerDevice, 0, *devices - 1);
        } else if (const std::optional<qint64> card = device ? NumberOf(*device, section, values) : std::nullopt;
                   card && devices && *card >= 0 && *card < *devices) {
            if (const std::optional<int> lines = Known(facts.MixerLines(int(*card)));
                lines && (*number < 0 || *number >= *lines)) {
                Finding finding = Make(key, section, text, Problem::NoMixerLine, 0, *lines - 1);
                finding.detail = QString::number(*card);
                return finding;
            }
        }
    }
    if (key.Has(GenreName) && !text.isEmpty())
        if (const std::optional<QStringList> genres = facts.Genres();
            genres && !genres->isEmpty() && !genres->contains(text, Qt::CaseInsensitive))
            return Make(key, section, text, Problem::NoGenre);
    return std::nullopt;
}

// Ports of the enabled network links: each in 1..65535, and no host port twice.
void CheckLinks(File file, const Values& values, QList<Finding>* findings) {
    QHash<QString, QHash<qint64, const Key*>> listening;  // per section: host port -> key
    for (const Key& key : KeysOf(file)) {
        if (key.rule != Rule::Port) continue;
        const Key* onOff = FirstOfGroup(key, IsLinkSwitch);
        for (const QString& section : SectionNames(key.section)) {
            const std::optional<QString> state = onOff ? values(*onOff, section) : std::nullopt;
            const bool enabled = state && Interpret(*onOff, *state).number.value_or(0) != 0;
            const std::optional<QString> text = values(key, section);
            if (!enabled || !text) continue;
            const Reading reading = Interpret(key, *text);
            if (!reading.number) continue;  // said already
            if (*reading.number < 1 || *reading.number > 65535) {
                findings->append(Make(key, section, *text, Problem::NoPort, 1, 65535));
                continue;
            }
            if (!key.Has(LocalPort)) continue;
            const Key* first = listening[section].value(*reading.number);
            if (!first) {
                listening[section].insert(*reading.number, &key);
                continue;
            }
            Finding later = Make(key, section, *text, Problem::SharedPort);
            later.other = first;
            findings->append(later);
            Finding earlier = Make(*first, section, *values(*first, section), Problem::SharedPort);
            earlier.other = &key;
            findings->append(earlier);
        }
    }
}

}  // namespace

std::optional<Finding> CheckValue(const Key& key, const QString& section, const QString& text) {
    const std::optional<Problem> problem = Interpret(key, text).problem;
    if (!problem) return std::nullopt;
    if (*problem == Problem::OutOfLimits)
        return Make(key, section, text, Problem::OutOfLimits, key.limits.lowest, key.limits.highest);
    return Make(key, section, text, Problem::NotRead);
}

QList<Finding> CheckFile(File file, const Values& values, const MachineFacts& facts) {
    QList<Finding> findings;
    for (const Key& key : KeysOf(file))
        for (const QString& section : SectionNames(key.section)) {
            const std::optional<QString> text = values(key, section);
            if (!text) continue;
            std::optional<Finding> finding = CheckValue(key, section, *text);
            if (!finding) finding = CheckReference(key, section, *text, values, facts);
            if (finding) findings.append(*finding);
        }
    QList<Finding> links;
    CheckLinks(file, values, &links);
    // One finding per key and section: what the key says of itself comes first.
    QSet<QPair<const Key*, QString>> seen;
    for (const Finding& finding : findings) seen.insert({finding.key, finding.section});
    for (const Finding& finding : links)
        if (!seen.contains({finding.key, finding.section})) {
            seen.insert({finding.key, finding.section});
            findings.append(finding);
        }
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return IndexOf(*a.key) < IndexOf(*b.key); });
    return findings;
}

Verdict VerdictOf(Problem problem) {
    switch (problem) {
        case Problem::NotRead:
            return Verdict::Unreadable;
        case Problem::OutOfLimits:
            return Verdict::OutOfLimits;
        default:
            return Verdict::Reference;
    }
}

QString VerdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::Fine:
            return QStringLiteral("fine");
        case Verdict::Unreadable:
            return QStringLiteral("unreadable");
        case Verdict::OutOfLimits:
            return QStringLiteral("limits");
        case Verdict::Reference:
            return QStringLiteral("reference");
    }
    return {};
}

namespace {

QString Range(qint64 lowest, qint64 highest, Language l) {
    return Words{"%1 tot en met %2", "%1 to %2"}.In(l).arg(lowest).arg(highest);
}

QString OtherKey(const Key& key, Language l) {
    if (l == Language::English) return QStringLiteral("[%1] %2").arg(key.Section(), key.Name());
    const QString caption = CaptionText(key);
    return caption.isEmpty() ? key.Name() : caption;
}

}  // namespace

QString RuleWords(const Key& key, Language l) {
    switch (key.rule) {
        case Rule::Text:
            return Words{"tekst", "text"}.In(l);
        case Rule::EmptyDefault:
        case Rule::WholeNumber:
        case Rule::ListPosition:
            return key.width == IntWidth::Bits16 && !key.hasLimits
                       ? Words{"een geheel getal van -32768 tot en met 32767", "a whole number from -32768 to 32767"}.In(l)
                       : Words{"een geheel getal", "a whole number"}.In(l);
        case Rule::OneMeansOn:
        case Rule::Pair:
            return Words{"een getal (1 is aan, elk ander getal uit)", "a number (1 is on, any other number off)"}.In(l);
        case Rule::CheckState:
            return Words{"0, 1 of 2", "0, 1 or 2"}.In(l);
        case Rule::Option:
            if (key.Has(ExactText))
                return Words{"precies een van de getallen %1 tot en met %2", "exactly one of the numbers %1 to %2"}
                    .In(l)
                    .arg(key.limits.lowest)
                    .arg(key.limits.highest);
            return Words{"een geheel getal", "a whole number"}.In(l);
        case Rule::DayString:
            return Words{"24 cijfers 0, 1 of 2 (een per uur)", "24 digits 0, 1 or 2 (one per hour)"}.In(l);
        case Rule::Colour:
            return Words{"een kleurnummer (0xBBGGRR als geheel getal)", "a colour number (0xBBGGRR as a whole number)"}
                .In(l);
        case Rule::Port:
            return Words{"een poortnummer", "a port number"}.In(l);
    }
    return {};
}

QString Expected(const Key& key, Language l) {
    QString words = RuleWords(key, l);
    if (key.hasLimits && !key.Has(ExactText) && key.rule != Rule::CheckState)
        words += Words{" van ", " from "}.In(l) + Range(key.limits.lowest, key.limits.highest, l);
    if (key.rule == Rule::Port) words += Words{" (0 of leeg: geen)", " (0 or empty: none)"}.In(l);
    if (key.hasDefault && key.rule != Rule::Option && !key.Has(ExactText))
        words += Words{" (leeg: %1)", " (empty: %1)"}.In(l).arg(key.fallback);
    return words;
}

QString Reason(const Finding& f, Language l) {
    const QString text = f.text;
    switch (f.problem) {
        case Problem::NotRead:
            return Words{"\"%1\" is niet te lezen als %2", "\"%1\" is not %2"}.In(l).arg(text, Expected(*f.key, l));
        case Problem::OutOfLimits:
            return Words{"%1 ligt buiten %2", "%1 is outside %2"}.In(l).arg(text.trimmed(), Range(f.lowest, f.highest, l));
        case Problem::NoFolder:
            return Words{"de map %1 bestaat niet op deze computer", "the folder %1 does not exist on this machine"}
                .In(l)
                .arg(QDir::toNativeSeparators(f.detail));
        case Problem::NoDatabase:
            return Words{"in de map %1 staat geen leesbare data.mdb", "the folder %1 holds no readable data.mdb"}
                .In(l)
                .arg(QDir::toNativeSeparators(f.detail));
        case Problem::NoSoundDevice:
            return Words{"deze computer heeft geen geluidskaart %1 (wel %2)", "this machine has no sound card %1 (it has %2)"}
                .In(l)
                .arg(text.trimmed(), Range(f.lowest, f.highest, l));
        case Problem::NoMixerDevice:
            return Words{"deze computer heeft geen mixer %1 (wel %2)", "this machine has no mixer device %1 (it has %2)"}
                .In(l)
                .arg(text.trimmed(), Range(f.lowest, f.highest, l));
        case Problem::NoMixerLine:
            return Words{"mixer %2 heeft geen lijn %1 (wel %3)", "mixer device %2 has no line %1 (it has %3)"}
                .In(l)
                .arg(text.trimmed(), f.detail, Range(f.lowest, f.highest, l));
        case Problem::NoGenre:
            return Words{"het genre \"%1\" staat niet in de genrelijst van de database",
                         "the genre \"%1\" is not in the genre list of the database"}
                .In(l)
                .arg(text);
        case Problem::NoPort:
            return Words{"de verbinding staat aan, maar \"%1\" is geen poort van %2",
                         "the link is on, but \"%1\" is no port from %2"}
                .In(l)
                .arg(text, Range(f.lowest, f.highest, l));
        case Problem::SharedPort:
            return Words{"poort %1 is ook de eigen poort van %2", "port %1 is also the host port of %2"}
                .In(l)
                .arg(text.trimmed(), f.other ? OtherKey(*f.other, l) : QString());
    }
    return {};
}

}  // namespace quorvant::schema
