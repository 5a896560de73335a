#include "text/FailureReasons.h"

#include <QHash>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <initializer_list>

// Windows has no disk quotas, stale handles or host-down errors.
#ifndef EDQUOT
#define EDQUOT ENOSPC
#endif
#ifndef ESTALE
#define ESTALE ENOTCONN
#endif
#ifndef EHOSTDOWN
#define EHOSTDOWN ENOTCONN
#endif

namespace quorvant {

namespace {

struct SystemError {
    std::initializer_list<int> numbers;
    Words reading;
    Words writing;  // empty: as reading
};

const SystemError kSystemErrors[] = {
    {{ENOSPC, EDQUOT}, {"De schijf is vol", "the disk is full"}, {}},
    {{EFBIG}, {"Het bestand wordt groter dan toegestaan", "the file would exceed the size limit"}, {}},
    {{EACCES, EPERM},
     {"Geen leesrechten op het bestand", "no permission to read the file"},
     {"Geen schrijfrechten in de map", "no permission to write in the folder"}},
    {{EROFS},
     {"Het bestandssysteem is alleen-lezen", "the file system is read-only"},
     {"Geen schrijfrechten in de map (alleen-lezen bestandssysteem)",
      "no permission to write in the folder (read-only file system)"}},
    {{ENOENT, ENOTDIR},
     {"Het bestand bestaat niet", "the file does not exist"},
     {"De map bestaat niet", "the folder does not exist"}},
    {{EISDIR}, {"Dit is een map, geen bestand", "this is a folder, not a file"}, {}},
    {{EIO}, {"Lees- of schrijffout van de schijf", "the disk could not be read or written"}, {}},
    {{ENAMETOOLONG}, {"De naam van het bestand is te lang", "the file name is too long"}, {}},
    {{ELOOP}, {"Te veel symbolische koppelingen na elkaar", "too many symbolic links in a row"}, {}},
    {{EMFILE, ENFILE}, {"Te veel bestanden tegelijk open", "too many files are open"}, {}},
    {{ENOMEM}, {"Onvoldoende geheugen", "not enough memory"}, {}},
    {{EBUSY, ETXTBSY}, {"Het bestand is in gebruik", "the file is busy"}, {}},
    {{EAGAIN}, {"Het bestand is tijdelijk niet beschikbaar", "the file is temporarily unavailable"}, {}},
    {{ESTALE, ENOTCONN, EHOSTDOWN, ETIMEDOUT},
     {"De netwerkverbinding naar het bestand is verbroken", "the network connection to the file is lost"},
     {}},
};

// {key} is "[section] key" (or the key alone), {section}, {char} and {code} the character that
// does not fit and its code point, {encoding}, {kind} what the path is, {keys} a list of keys,
// {system} the system error in words.
const Words kFailures[] = {
    /* NoFileChosen */ {"Er is geen bestand gekozen", "no file given"},
    /* ReadFailed */ {"{system}", "{system}"},
    /* WriteFailed */ {"{system}", "{system}"},
    /* NotRegularFile */ {"Dit is geen gewoon bestand maar {kind}", "not a regular file but {kind}"},
    /* InUse */ {"Het bestand is in gebruik door een ander programma", "the file is locked by another program"},
    /* FileReadOnly */ {"Geen schrijfrechten op het bestand", "no permission to write the file"},
    /* InvalidSectionName */ {"De sectienaam \"{section}\" is ongeldig", "the section name \"{section}\" is not valid"},
    /* InvalidKeyName */ {"De sleutelnaam \"{name}\" is ongeldig", "the key name \"{name}\" is not valid"},
    /* LineBreakInValue */ {"De waarde van {key} bevat een regeleinde", "the value of {key} contains a line break"},
    /* Unencodable */
    {"Het teken \"{char}\" (U+{code}) {where} past niet in de codering van het bestand ({encoding})",
     "{where} cannot be stored: the character \"{char}\" (U+{code}) does not fit the file's encoding ({encoding})"},
    /* Undecodable */
    {"Het bestand is beschadigd: UTF-16-tekst met een oneven aantal bytes",
     "the file is damaged: UTF-16 text with an odd number of bytes"},
    /* EncodingWouldChange */
    {"Na het bewaren zou het bestand niet meer als {encoding} gelezen worden, en zouden andere waarden veranderen",
     "the file would no longer read as {encoding}"},
    /* LoneCarriageReturn */
    {"De regel van {key} bevat een los CR-teken; andere programma's lezen er twee regels in, en de tweede zou "
     "verloren gaan",
     "the line of {key} holds a lone CR that other programs read as a line end"},
    /* LineWouldChange */
    {"Met deze waarde zou de regel van {key} niet meer als die sleutel gelezen worden",
     "the line of {key} would no longer read as that key"},
    /* ChangedElsewhere */
    {"Het bestand is intussen door een ander programma gewijzigd: {keys}", "changed by another program: {keys}"},
};
static_assert(std::size(kFailures) == std::size_t(IniFailure::ChangedElsewhere) + 1, "one text per failure");

}  // namespace

QString FileKindText(FileKind kind, Language language) {
    static const Words kinds[] = {
        /* Missing */ {"het bestand bestaat niet", "the file does not exist"},
        /* Regular */ {"een gewoon bestand", "a regular file"},
        /* Folder */ {"een map", "a folder"},
        /* Fifo */ {"een FIFO (named pipe)", "a FIFO (named pipe)"},
        /* CharDevice */ {"een apparaat (tekenapparaat)", "a device (character device)"},
        /* BlockDevice */ {"een apparaat (blokapparaat)", "a device (block device)"},
        /* Socket */ {"een socket", "a socket"},
        /* Other */ {"geen gewoon bestand", "not a regular file"},
    };
    return kinds[std::size_t(kind)].In(language);
}

QString SystemErrorText(int errorNumber, bool writing, Language language) {
    for (const SystemError& error : kSystemErrors) {
        for (int number : error.numbers)
            if (number == errorNumber) return (writing && error.writing.dutch ? error.writing : error.reading).In(language);
    }
    const Words what = writing ? Words{"Het bestand kan niet worden geschreven", "the file cannot be written"}
                               : Words{"Het bestand kan niet worden gelezen", "the file cannot be read"};
    const Words system{"systeemfout", "system error"};
    // The system's own words, in the system's language: Windows says them for its own codes.
    const bool windows = errorNumber >= kWindowsErrorBase;
    const int code = windows ? errorNumber - kWindowsErrorBase : errorNumber;
    return QStringLiteral("%1 (%2 %3: %4)")
        .arg(what.In(language), system.In(language))
        .arg(code)
        .arg(windows ? qt_error_string(code).trimmed() : QString::fromLocal8Bit(std::strerror(code)));
}

QString FailureReason(const IniError& error, Language language) {
    const IniErrorDetails& d = error.Details();
    const QString key = d.section.isEmpty() ? d.key : QStringLiteral("[%1] %2").arg(d.section, d.key);
    // A name that cannot be stored is named alone; a value by its key.
    const Words where = d.key.isEmpty() ? Words{"in de sectienaam \"{section}\"", "the section name \"{section}\""}
                                        : Words{"in {key}", "{key}"};
    const QHash<QString, QString> fields = {
        {QStringLiteral("key"), key},
        {QStringLiteral("name"), d.key},
        {QStringLiteral("section"), d.section},
        {QStringLiteral("char"), d.character},
        {QStringLiteral("code"),
         QStringLiteral("%1").arg(d.character.isEmpty() ? 0 : d.character.at(0).unicode(), 4, 16, QChar(u'0'))},
        {QStringLiteral("encoding"), EncodingName(d.encoding)},
        {QStringLiteral("kind"), FileKindText(d.kind, language)},
        {QStringLiteral("keys"), d.keys.join(QStringLiteral(", "))},
        {QStringLiteral("system"), SystemErrorText(d.errorNumber, error.Failure() == IniFailure::WriteFailed, language)},
    };
    // One pass, so a name that holds braces is never read as a field.
    const auto fill = [&fields](const QString& text) {
        QString out;
        for (qsizetype at = 0; at < text.size();) {
            const qsizetype open = text.indexOf(u'{', at);
            const qsizetype close = open < 0 ? -1 : text.indexOf(u'}', open);
            if (close < 0) {
                out += text.mid(at);
                break;
            }
            out += text.mid(at, open - at);
            const QString name = text.mid(open + 1, close - open - 1);
            out += fields.contains(name) ? fields.value(name) : text.mid(open, close - open + 1);
            at = close + 1;
        }
        return out;
    };
    QString text = kFailures[std::size_t(error.Failure())].In(language);
    text.replace(QLatin1String("{where}"), where.In(language));
    return fill(text);
}

QString HistoryProblemText(const history::Problem& problem, Language language, bool writing) {
    using Kind = history::Problem::Kind;
    static const Words kProblems[] = {
        /* Foreign */ {"geen versie van een instellingenbestand", "not a version of a settings file"},
        /* Damaged */ {"beschadigd: kop, grootte of controlesom klopt niet", "damaged (its header, size or checksum is wrong)"},
        /* Unreadable */ {"", ""},
        /* Link */ {"een symbolische koppeling, die niet gevolgd wordt", "a symbolic link, which is not followed"},
        /* NotAFolder */ {"geen map maar {kind}", "not a folder but {kind}"},
        /* Untrusted */
        {"een map van een andere gebruiker dan de eigenaar van het bestand",
         "a folder of another user than the file's owner"},
        /* NumbersUsedUp */
        {"de versienummers zijn op: deze versie heeft het hoogste nummer", "the version numbers are used up by this version"},
    };
    static_assert(std::size(kProblems) == std::size_t(Kind::NumbersUsedUp) + 1, "one text per problem");
    if (problem.kind == Kind::Unreadable) return SystemErrorText(problem.errorNumber, writing, language);
    return kProblems[std::size_t(problem.kind)].In(language).replace(QStringLiteral("{kind}"),
                                                                     FileKindText(problem.fileKind, language));
}

QString Printable(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pair) {
            const char32_t code = QChar::surrogateToUcs4(c, text[i + 1]);
            if (QChar::category(code) == QChar::Other_Format) {
                out += QStringLiteral("\\U%1").arg(uint(code), 8, 16, QChar(u'0'));
            } else {
                out += c;
                out += text[i + 1];
            }
            ++i;
            continue;
        }
        const ushort code = c.unicode();
        if (code < 0x20 || code == 0x7f)
            out += QStringLiteral("\\x%1").arg(code, 2, 16, QChar(u'0'));
        else if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format || c.isSurrogate() ||
                 c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph)
            out += QStringLiteral("\\u%1").arg(code, 4, 16, QChar(u'0'));
        else
            out += c;
    }
    return out;
}

}  // namespace quorvant
