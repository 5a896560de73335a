#include "text/Messages.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>
#include <array>

#include "text/FailureReasons.h"

namespace quorvant::msg {

namespace {
template <std::size_t N>
QString Pick(const std::array<const char*, N>& texts, int index) {
    return index >= 0 && index < int(N) ? QString(texts[std::size_t(index)]) : QString();
}
}  // namespace

QString NotSaved(const QString& file, const QString& reason) {
    return QString("De wijzigingen zijn niet bewaard in %1.\n\n%2").arg(file, reason);
}
QString CardNotChosen(const QString& feed, const QString& reason) {
    return QString("De kaart van %1 kon niet worden gekozen.\n\n%2").arg(feed, reason);
}
QString PortOutOfRange(const QString& box, const QString& frame, const QString& text) {
    return QString("De %1 van \"%2\" ligt buiten het bereik -2147483648 tot 2147483647: \"%3\"").arg(box, frame, text);
}
QString PortNotWholeNumber(const QString& box, const QString& frame, const QString& text) {
    return QString("De %1 van \"%2\" is geen geheel getal: \"%3\"").arg(box, frame, text);
}

QString NoGenres(const QString& why) { return QString("Geen genrelijst: %1").arg(why); }
QString NoDatabaseFolderGiven() { return "er is geen databasemap opgegeven."; }
QString DatabaseFolderMissing(const QString& folder) { return QString("de databasemap %1 bestaat niet.").arg(folder); }
QString FileMissing(const QString& path) { return QString("%1 bestaat niet.").arg(path); }

QString GenreUnexpectedAnswer(const QString& mdbPath) {
    return QString("Onverwacht antwoord van het leesprogramma van de genre-databank (%1)").arg(mdbPath);
}
QString GenreDatabaseNotFound(const QString& mdbPath) {
    return QString("Genre-databank niet gevonden: %1").arg(mdbPath);
}
QString GenreNotADatabase(const QString& mdbPath) {
    return QString("De genre-databank is beschadigd of geen Access-databank: %1").arg(mdbPath);
}
QString GenreNoTable(const QString& mdbPath) { return QString("Tabel Genres ontbreekt in %1").arg(mdbPath); }
QString GenreNoColumn(const QString& mdbPath) {
    return QString("Kolom Genre ontbreekt in tabel Genres van %1").arg(mdbPath);
}
QString GenreDamaged(const QString& mdbPath) { return QString("De genre-databank is beschadigd: %1").arg(mdbPath); }
QString GenreNoAnswer(int milliseconds) {
    // "5" for 5000 ms, "0,3" for 300 ms.
    QString seconds = QString::number(milliseconds / 1000.0, 'f', 1);
    if (seconds.endsWith(QLatin1String(".0"))) seconds.chop(2);
    seconds.replace(QLatin1Char('.'), QLatin1Char(','));
    return QString("De genre-databank antwoordt niet (afgebroken na %1 s)").arg(seconds);
}
QString GenreReaderCrashed(const QString& mdbPath) {
    return QString("De genre-databank is beschadigd (het leesprogramma brak af): %1").arg(mdbPath);
}
QString GenreReaderMissing(const QString& helper) {
    return QString("Het leesprogramma van de genre-databank ontbreekt of start niet: %1").arg(helper);
}

QString NotRead(const IniError& error) {
    // A damaged file is read as far as it goes: its values are shown, not the defaults.
    if (error.Failure() == IniFailure::Undecodable)
        return QStringLiteral("%1 kon niet foutloos worden gelezen.\n\n%2.\n\nDe velden tonen de waarden zoals ze "
                              "uit het bestand gelezen konden worden; na de beschadigde plek kunnen ze ontbreken of "
                              "verkeerd zijn. Het bestand kan niet worden bewaard zolang het beschadigd is.")
            .arg(QDir::toNativeSeparators(error.File()), FailureReason(error));
    return QStringLiteral("%1 kon niet worden gelezen.\n\n%2.\n\nDe velden tonen de standaardwaarden.")
        .arg(QDir::toNativeSeparators(error.File()), FailureReason(error));
}

QString ChangedElsewhereQuestion(const IniError& error, bool merges) {
    QString text = QStringLiteral("%1 is intussen door een ander programma gewijzigd: %2.")
                       .arg(error.File(), error.Details().keys.join(QStringLiteral(", ")));
    const auto shown = [](const std::optional<QString>& value) {
        return value ? QStringLiteral("\"%1\"").arg(*value) : AbsentValue();
    };
    if (!error.Details().both.isEmpty()) {
        text += QStringLiteral("\n\nOok door dit venster gewijzigd:");
        for (const BothChanged& key : error.Details().both)
            text += QStringLiteral("\n[%1] %2: hier %3, op schijf %4")
                        .arg(key.section, key.key, shown(key.mine), shown(key.onDisk));
    }
    if (!merges) return text;
    return text + QStringLiteral("\n\n\"%1\" bewaart wat dit venster wijzigde en laat de andere waarden zoals ze nu "
                                 "op schijf staan. \"%2\" schrijft alle waarden van dit venster.")
                      .arg(KeepMineCaption(), OverwriteAllCaption());
}
QString KeepMineCaption() { return "Alleen mijn wijzigingen bewaren"; }
QString OverwriteAllCaption() { return "Alles overschrijven"; }
QString CancelCaption() { return "Annuleren"; }
QString InField(const QString& field) { return QString("Veld: %1").arg(field); }
QString NotARegularFile(const QString& path, FileKind kind) {
    return QString("%1 is geen gewoon bestand maar %2.").arg(path, FileKindText(kind));
}

QString HistoryCaption() { return "Geschiedenis"; }
QString HistoryExplanation() {
    return "Elke regel is een bewaring van een instellingenbestand: wanneer, door wie, met welk programma. "
           "Terugzetten geeft het bestand, of de gekozen waarden, zoals ze vóór die bewaring waren.";
}
QString VersionsCaption() { return "&Versies"; }
QString ChangesCaption() { return "&Wijzigingen van deze bewaring"; }
QStringList VersionColumns() {
    return {"Tijd", "Bestand", "Versie", "Wie", "Programma", "Gewijzigde sleutels"};
}
QStringList ChangeColumns() { return {"Sectie", "Sleutel", "Omschrijving", "Tabblad", "Oud", "Nieuw"}; }
QString AbsentValue() { return "(geen)"; }
QString NoVersionsYet() { return "Nog geen versies: elke bewaring houdt vanaf nu de vorige inhoud bij."; }
QString RestoreVersionCaption() { return "Zet deze versie &terug"; }
QString RestoreValueCaption() { return "&Zet deze waarde terug"; }
QString HistoryAction(const QString& action) {
    static const QString restore = QStringLiteral("restore of version ");
    static const QRegularExpression values(QStringLiteral(R"(^restore of (\d+) values? from version (\d+)(?:: (.*))?$)"));
    if (action.isEmpty() || action == QLatin1String("save")) return {};
    if (action.startsWith(restore)) return QString("versie %1 teruggezet").arg(action.mid(restore.size()));
    if (const QRegularExpressionMatch match = values.match(action); match.hasMatch()) {
        const bool one = match.captured(1) == QLatin1String("1");
        // The keys, where they fitted the header; else how many.
        const QString which = match.hasCaptured(3) ? QString("%1 %2").arg(one ? "waarde" : "waarden", match.captured(3))
                                                   : QString("%1 %2").arg(match.captured(1), one ? "waarde" : "waarden");
        return QString("%1 uit versie %2 teruggezet").arg(which, match.captured(2));
    }
    return action;
}
QString HistorySkipped(const QString& entry, const QString& why) {
    return QString("Overgeslagen: %1 (%2)").arg(QDir::toNativeSeparators(entry), why);
}
QString HistorySkippedCount(qsizetype count) {
    return count == 1 ? QString("1 bestand in de geschiedenismap overgeslagen")
                      : QString("%1 bestanden in de geschiedenismap overgeslagen").arg(count);
}
QString HistoryFolderNotUsed(const QString& folder, const QString& why) {
    return QString("De geschiedenismap %1 wordt niet gebruikt: %2").arg(QDir::toNativeSeparators(folder), why);
}
QString HistoryReading() { return "De geschiedenis wordt gelezen…"; }
QString SaverText(const QString& user, const QString& host, const QString& account) {
    return account.isEmpty() ? QString("%1@%2").arg(user, host) : QString("%1@%2 (als %3)").arg(user, host, account);
}
QString RestoreChange(const QString& key, const QString& caption, const QString& now, const QString& after) {
    const QString named = caption.isEmpty() ? key : QString("%1 (%2)").arg(key, caption);
    return QString("%1: %2 \u2192 %3").arg(named, now, after);
}
QString RestoreQuestion(const QString& file, qint64 id, bool values, const QStringList& changes, qsizetype more,
                        bool changedSinceShown) {
    QString text = values ? QString("De gekozen waarden uit versie %1 van %2 terugzetten?").arg(id).arg(file)
                          : QString("Versie %1 van %2 terugzetten?").arg(id).arg(file);
    if (changes.isEmpty())
        text += values ? QString("\n\nHet bestand heeft deze waarden al; er verandert niets.")
                       : QString("\n\nGeen waarde verandert, alleen andere regels (commentaar, lege regels).");
    else
        text += QString("\n\nNu \u2192 na het terugzetten:\n") + changes.join(u'\n');
    if (more > 0) text += QString("\n\u2026 en nog %1").arg(more);
    if (changedSinceShown)
        text += QString("\n\n%1 is gewijzigd sinds dit venster het las; hierboven staat wat het nu bevat.").arg(file);
    return text;
}
QString RestoreCaption() { return "Terugzetten"; }
QString VersionRestored(const QString& file, qint64 id, const QString& time) {
    return QString("Versie %1 van %2 teruggezet (%3)").arg(id).arg(file, time);
}
QString ValuesRestored(const QString& file, const QString& what, const QString& time) {
    return QString("%1: %2 (%3)").arg(file, what, time);
}
QString HistoryNotRecorded(const QString& file, const QString& reason) {
    return QString("%1 is bewaard, maar de geschiedenis kon niet worden bijgewerkt: %2").arg(file, reason);
}
QString HistoryDropped(const QString& file, const QStringList& ids) {
    return QString("Oude versies van %1 uit de geschiedenis verwijderd: %2").arg(file, ids.join(", "));
}
QString HistorySingle(const QString& file) {
    return QString("%1 is groter dan de geschiedenismap mag worden: de geschiedenis houdt alleen de laatste versie")
        .arg(file);
}

QString CardMissing(int card) { return QString("Kaart %1 ontbreekt").arg(card); }
QString DefaultSoundDevice() { return "Standaard geluidsapparaat"; }
QString PlayerCaption(int player) {
    static constexpr std::array<const char*, 4> captions = {"Automaat", "Jingles", "LiveSpeler A", "LiveSpeler B"};
    return Pick(captions, player);
}
QString PlayerCardSpinName(const QString& player) { return player + " geluidskaart"; }
QString PlayerCardDisplayName(const QString& player) { return player + ": gekozen geluidskaart"; }
QString MultiJingleButtonCaption() { return "Configureer"; }
QString JingleColumnCaption(int column) {
    static constexpr std::array<const char*, 4> captions = {"Geluidskaart 1ste kolom", "Geluidskaart 2de kolom",
                                                            "Geluidskaart 3de kolom", "Geluidskaart 4de kolom"};
    return Pick(captions, column);
}
QString JingleCardDisplayName(const QString& column) { return column + ": gekozen apparaat"; }

QString FeedFrameCaption(int feed) {
    static constexpr std::array<const char*, 4> captions = {"Audio Feed 1", "Audio Feed 2", "Audio Feed 3",
                                                            "Audio Feed 4 (enkel MD8)"};
    return Pick(captions, feed);
}
QString FeedUseCaption(int feed) { return QString("Gebruik maken van externe audio Feed %1").arg(feed + 1); }
QString PercentUnit() { return "%"; }
QString FloatTimeButtonCaption() { return "Vlottend Tijdsein configuratie"; }
QString MaxNewsWaitCaption() {
    return "Maximum tijd dat er gewacht wordt op het \"einde nieuws-signaal\" van de stereodetectie";
}
QString BlockStraksLiveCaption() { return "StraksLive-Knop uitschakelen"; }
QString LoginLevelName(const QString& caption) { return caption + ": niveau"; }

QString SaveChangesCaption() { return "Bewaar de wijzigingen"; }
QString LeaveWindowCaption() { return "Verlaat dit scherm"; }
QString SaveAndCloseCaption() { return "Bewaar en sluit"; }
QString FloatNewsCaption() { return "Vlottend Nieuws"; }
QString AutoRotateCaption() { return "AutoRotatie"; }
QString UseFloatNewsCaption() { return "Vlottend Nieuws gebruiken"; }
QString StartAtCaption() { return "Start op"; }
QString EndsAtCaption() { return "Eindigt op"; }
QString MinutesName() { return "Minuten"; }
QString SecondsName() { return "Seconden"; }
QString FillUpToCaption() { return "Uitvullen tot "; }
QString FillUpToName() { return "Uitvullen tot (seconden)"; }
QString SecondsUnit() { return "sec"; }
QString HappensInCaption() { return "Doet zich voor in"; }
QString AutomationCaption() { return "Automaat"; }
QString LiveCaption() { return "Live"; }
QString HardCaption() { return "Hard"; }
QString SoftCaption() { return "Zacht"; }
QString HardName(const QString& situation) { return situation + " hard"; }
QString SoftName(const QString& situation) { return situation + " zacht"; }
QString FeedCaption(int feed) { return QString("Feed %1").arg(feed); }

QString StepUpName() { return "Omhoog"; }
QString StepDownName() { return "Omlaag"; }
QString WeekdayName(int day) {
    static constexpr std::array<const char*, 7> names = {"maandag", "dinsdag",  "woensdag", "donderdag",
                                                         "vrijdag", "zaterdag", "zondag"};
    return Pick(names, day);
}
QString ToggleHourTip(int hour) { return QString("Uur %1 van alle dagen aan- of uitzetten").arg(hour); }
QString ToggleDayTip(int day) { return QString("Alle uren van %1 aan- of uitzetten").arg(WeekdayName(day)); }
QString DayHourName(int day, int hour) { return QString("%1 %2 uur").arg(WeekdayName(day)).arg(hour); }

QString ChooseServerFolderPrompt() {
    return QStringLiteral("Kies de map van de server (de map met server.ini en news.ini)");
}
QString ChooserOk() { return QStringLiteral("&OK"); }
QString ChooserNewFolder() { return QStringLiteral("&Nieuw"); }
QString ChooserCancel() { return QStringLiteral("&Annuleer"); }

QString LanguageFileMissing() { return QStringLiteral("bestaat niet"); }
QString LanguageFileUnreadable() { return QStringLiteral("kan niet gelezen worden"); }
QString LanguageFileWithoutTexts() { return QStringLiteral("bevat geen teksten in [Language]"); }
QString BuiltInTextsUsed(const QStringList& filesAndReasons) {
    return QStringLiteral("Het taalbestand kon niet gelezen worden:\n%1\n\nDe ingebouwde Nederlandse teksten worden gebruikt.")
        .arg(filesAndReasons.join(u'\n'));
}

QString UnsavedChanges(const QStringList& places) {
    const QString text = QStringLiteral("Niet bewaarde wijzigingen");
    return places.isEmpty() ? text : QString("%1: %2").arg(text, places.join(", "));
}
QString KeyChangeText(const QString& key, const QString& before, const QString& after) {
    return QString("%1 %2 → %3").arg(key, before, after);
}
QString ChangesText(const QStringList& changes, qsizetype more) {
    return more > 0 ? QString("%1 en %2 meer").arg(changes.join(", ")).arg(more) : changes.join(", ");
}
QString ChangedBy(const QString& program, const QString& action, const QString& saver, const QString& time) {
    QStringList parts{program};
    if (!action.isEmpty()) parts << action;
    parts << saver << time;
    parts.removeAll(QString());
    return parts.join(", ");
}
namespace {
QString FileLine(const QString& what, const QString& changes, const QString& by) {
    QString text = what;
    if (!changes.isEmpty()) text += ": " + changes;
    if (!by.isEmpty()) text += QString(" (%1)").arg(by);
    return text;
}
}  // namespace
QString ReadAgainLine(const QString& file, const QString& changes, const QString& by) {
    return FileLine(QString("%1 opnieuw ingelezen").arg(file), changes, by);
}
QString ChangedOnDiskLine(const QString& file, const QString& changes, const QString& by) {
    return FileLine(QString("%1 is buiten dit venster gewijzigd").arg(file), changes, by) +
           "; uw wijzigingen blijven staan";
}
QString ReadAgainCaption() { return "Opnieuw &inlezen"; }
QString UntouchedRewrites(int count) {
    return count == 1 ? QStringLiteral("bewaren herschrijft 1 waarde die niemand wijzigde")
                      : QString("bewaren herschrijft %1 waarden die niemand wijzigde").arg(count);
}
QString WhatIsSavedCaption() { return "Wat wordt &bewaard"; }
QString WhatIsSavedTitle() { return "Wat wordt bewaard"; }
QString WhatIsSavedIntro(int count) {
    return count == 1 ? QStringLiteral("De volgende bewaring verandert 1 waarde die het bestand nu heeft.")
                      : QString("De volgende bewaring verandert %1 waarden die de bestanden nu hebben.").arg(count);
}
QStringList WhatIsSavedColumns() { return {"Bestand", "Sectie", "Sleutel", "Omschrijving", "Tabblad", "In het bestand", "Wordt", "Waarom"}; }
QString NothingToSave() { return "De volgende bewaring schrijft elke waarde zoals het bestand ze nu heeft."; }
QString EditedHere() { return "gewijzigd in dit venster"; }
QString RewrittenUnreadable(const QString& expected, const QString& written) {
    return QString("niet te lezen als %1: wordt %2").arg(expected, written);
}
QString RewrittenOutOfLimits(const QString& limits, const QString& written) {
    return QString("buiten %1: wordt %2").arg(limits, written);
}
QString RewrittenEmpty(const QString& written) { return QString("leeg: wordt %1").arg(written); }
QString RewrittenOtherwise(const QString& written) { return QString("anders geschreven: wordt %1").arg(written); }
QString MissingKeysAdded(int count) {
    return count == 1 ? QStringLiteral("1 sleutel ontbreekt in het bestand en wordt toegevoegd.")
                      : QString("%1 sleutels ontbreken in het bestand en worden toegevoegd.").arg(count);
}
QString DialogPlace(const QString& title) { return QString("venster %1").arg(title); }
QString CheckWarnings(int count, const QStringList& pages, bool blocksSave) {
    const QString text = count == 1 ? QStringLiteral("1 waarschuwing") : QString("%1 waarschuwingen").arg(count);
    const QString where = pages.isEmpty() ? text : QString("%1 op %2").arg(text, pages.join(", "));
    return blocksSave ? where + QStringLiteral(" (opslaan kan niet)") : where;
}
QString NextMarkedField() { return QStringLiteral("Naar het volgende gemarkeerde veld (F8; Shift+F8: het vorige)"); }
QString CheckMarkTip(const QStringList& reasons, bool blocksSave) {
    return (blocksSave ? QStringLiteral("Opslaan kan niet: ") : QStringLiteral("Waarschuwing (opslaan kan toch): ")) +
           reasons.join("\n");
}

QString EmptyFolderTitle() { return QStringLiteral("Quorvant"); }
QString EmptyFolderQuestion(const QString& folder) {
    return QString("In de map %1 staan geen server.ini en geen news.ini.\n\nIs dit wel de map van de server? Wie "
                   "hier opslaat, maakt er nieuwe bestanden met standaardwaarden.")
        .arg(folder);
}
QString ChooseOtherFolder() { return QStringLiteral("Andere map kiezen…"); }
QString OpenAnyway() { return QStringLiteral("Toch openen"); }
QString StopCaption() { return QStringLiteral("Stoppen"); }
QString RememberedFolderGone(const QString& folder, const QString& why) {
    return QString("De vorige keer gekozen map %1 kan niet meer gebruikt worden: %2.\n\nKies de map van de server "
                   "opnieuw.")
        .arg(folder, why);
}
QString FolderDoesNotExist() { return QStringLiteral("ze bestaat niet meer"); }
QString FolderIsNoFolder() { return QStringLiteral("dit is geen map"); }
QString SavedFiles(const QStringList& files, const QString& time) {
    return QString("Bewaard: %1 (%2)").arg(files.join(", "), time);
}
QString AlreadySaved(const QStringList& files, const QString& time) {
    return QString("Niets bewaard: %1 %2 deze waarden al (%3)")
        .arg(files.join(", "), files.size() == 1 ? "bevat" : "bevatten", time);
}
QString NotSavedLine(const QStringList& failures, const QStringList& written, const QString& time) {
    QString line = QString("Niet bewaard (%1): %2").arg(time, failures.join("; "));
    if (!written.isEmpty()) line += QString("; bewaard: %1").arg(written.join(", "));
    return line;
}
QString FileAndReason(const QString& file, const QString& reason) { return QString("%1: %2").arg(file, reason); }
QString SavingNow() { return QString::fromUtf8("Bewaren\u2026"); }
QString WaitingForFolder() { return QString::fromUtf8("Wachten tot een ander programma de map vrijgeeft\u2026"); }
QString EditedFolder(const QString& folder) { return QString("Map: %1").arg(folder); }
QString EditedFile(const QString& file) { return QString("Bestand: %1").arg(file); }
QString GenresReading() { return QString::fromUtf8("Genres worden gelezen\u2026"); }

QString SearchPlaceholder() { return QStringLiteral("Zoek een instelling"); }
QString SearchResultsName() { return QStringLiteral("Zoekresultaten"); }
QString SearchResult(const QString& caption, const QString& page, const QString& sectionKey, const QString& value) {
    QStringList parts{caption};
    if (!page.isEmpty()) parts << page;
    parts << sectionKey << value;
    return parts.join(QString::fromUtf8(" \u2014 "));
}
QString SearchNothingFound() { return QStringLiteral("Geen instelling gevonden"); }
QString FieldPlace(const QString& caption, const QString& sectionKey, const QString& file) {
    return caption.isEmpty() ? QString("%1 (%2)").arg(sectionKey, file)
                             : QString::fromUtf8("%1 \u2014 %2 (%3)").arg(caption, sectionKey, file);
}
QString FieldLimits(const QString& lowest, const QString& highest, const QString& unit, qint32 step) {
    QString text = QString("van %1 tot %2").arg(lowest, highest);
    if (!unit.isEmpty()) text += ' ' + unit;
    if (step > 1) text += QString(", stappen van %1").arg(step);
    return text;
}
QString FieldDefault(const QString& value) { return QString("standaard %1").arg(value); }
QString FieldInFile(const QString& text) { return QString::fromUtf8("in het bestand: \u201c%1\u201d").arg(text); }
QString FieldNotInFile() { return QStringLiteral("niet in het bestand"); }
QString FieldHelpLine(const QStringList& parts) { return parts.join(QStringLiteral(" \u00b7 ")); }
QString UseDefaultCaption(const QString& value) { return QString("Standaardwaarde (%1) gebruiken").arg(value); }
QString FieldHistoryCaption() { return QStringLiteral("Geschiedenis van dit veld"); }
QString CopyKeyCaption(const QString& sectionKey) { return QString("Kopieer %1").arg(sectionKey); }
QString MarkNotDefaultCaption() { return QStringLiteral("Velden markeren die van hun standaardwaarde afwijken"); }
QString FieldHistoryTitle(const QString& sectionKey, const QString& file) {
    return QString("Geschiedenis van %1 (%2)").arg(sectionKey, file);
}
QString FieldValueColumn() { return QStringLiteral("Waarde"); }

}  // namespace quorvant::msg
