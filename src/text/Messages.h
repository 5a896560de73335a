#pragma once

// Every Dutch text of the program that the language file does not supply: design-time captions,
// the names screen readers get where the text table has none, tool tips and messages. One file,
// so a reader or translator finds them all together.

#include <QString>
#include <QStringList>

#include "settings/IniError.h"
#include "text/FailureReasons.h"

namespace quorvant::msg {

// --- Messages to the user ---------------------------------------------------------------------

// A save that wrote nothing: which file, and why.
QString NotSaved(const QString& file, const QString& reason);
// A feed's card the mixer refused when the user picked it.
QString CardNotChosen(const QString& feed, const QString& reason);
// A port box whose text the save cannot write as a 32-bit whole number.
QString PortOutOfRange(const QString& box, const QString& frame, const QString& text);
QString PortNotWholeNumber(const QString& box, const QString& frame, const QString& text);

// Why the panic-genre list stays empty (its tool tip).
QString NoGenres(const QString& why);
QString NoDatabaseFolderGiven();
QString DatabaseFolderMissing(const QString& folder);
QString FileMissing(const QString& path);

// Why the genre helper gave no list.
QString GenreUnexpectedAnswer(const QString& mdbPath);
QString GenreDatabaseNotFound(const QString& mdbPath);
QString GenreNotADatabase(const QString& mdbPath);
QString GenreNoTable(const QString& mdbPath);
QString GenreNoColumn(const QString& mdbPath);
QString GenreDamaged(const QString& mdbPath);
QString GenreNoAnswer(int milliseconds);
QString GenreReaderCrashed(const QString& mdbPath);
QString GenreReaderMissing(const QString& helper);

// --- Settings files ---------------------------------------------------------------------------

// Why a settings file could not be read or written, in the window's words.
inline QString FailureReason(const IniError& error) { return quorvant::FailureReason(error, Language::Dutch); }

// A file start-up could not read: which file, why, and what the window shows instead.
QString NotRead(const IniError& error);
// The question before a save of a file that another program changed since the window read it:
// which keys, and those both changed with both values; its answers, the first the default.
// Without `merges` (a restore of a whole text) the answers are only overwrite and cancel.
QString ChangedElsewhereQuestion(const IniError& error, bool merges = true);
QString KeepMineCaption();
QString OverwriteAllCaption();
QString CancelCaption();
// The field a value that cannot be stored was typed in.
QString InField(const QString& field);
// A path that is there but no regular file (the genre database).
QString NotARegularFile(const QString& path, FileKind kind);

// --- Settings history -------------------------------------------------------------------------

QString HistoryCaption();       // the window's caption and the main window's button
QString HistoryExplanation();   // what a row of the window is
QString VersionsCaption();      // the list of versions, and its name
QString ChangesCaption();       // the table of the selected version's changes, and its name
// Column captions: time, file, version, who, program, keys changed; and section, key, caption,
// page, old value, new value.
QStringList VersionColumns();
QStringList ChangeColumns();
QString AbsentValue();          // a side of a change where the key is absent
QString NoVersionsYet();
QString RestoreVersionCaption();
QString RestoreValueCaption();
// What a version's save was: empty for a plain save; "versie N teruggezet" for a restore,
// "waarde [Faders] PresLevel uit versie N teruggezet" for a restore of chosen values.
QString HistoryAction(const QString& action);
// A file in the history folder that the window skips, and why (text/FailureReasons gives it);
// the one line for all of them, and the history folder that is not used at all.
QString HistorySkipped(const QString& entry, const QString& why);
QString HistorySkippedCount(qsizetype count);
QString HistoryFolderNotUsed(const QString& folder, const QString& why);
QString HistoryReading();
// Who made a save: user@host, and the account that ran it when another (sudo).
QString SaverText(const QString& user, const QString& host, const QString& account);
// The question before a restore: what it changes, one line a key ("[Faders] PresLevel (caption):
// now → after"), and `more` lines left out; `values`: the chosen values alone, not the version.
QString RestoreChange(const QString& key, const QString& caption, const QString& now, const QString& after);
QString RestoreQuestion(const QString& file, qint64 id, bool values, const QStringList& changes, qsizetype more,
                        bool changedSinceShown);
QString RestoreCaption();
// After a restore in the history window, and in the status line of other windows showing the file.
QString VersionRestored(const QString& file, qint64 id, const QString& time);
// After a restore of chosen values: the file and what HistoryAction says of it.
QString ValuesRestored(const QString& file, const QString& what, const QString& time);
// What a save tells beside its own result.
QString HistoryNotRecorded(const QString& file, const QString& reason);
QString HistoryDropped(const QString& file, const QStringList& ids);
// A file whose history the folder's size leaves with its last version alone.
QString HistorySingle(const QString& file);

// --- Sound cards ------------------------------------------------------------------------------

// What a card display shows for a number that is not (or no longer) a device.
QString CardMissing(int card);
// The name of device -1.
QString DefaultSoundDevice();
// Player captions of the sound cards page, and the names of its spins and displays.
QString PlayerCaption(int player);
QString PlayerCardSpinName(const QString& player);
QString PlayerCardDisplayName(const QString& player);
QString MultiJingleButtonCaption();
// Column captions of the jingle cards dialog, and the name of their displays.
QString JingleColumnCaption(int column);
QString JingleCardDisplayName(const QString& column);

// --- Main window pages ------------------------------------------------------------------------

QString FeedFrameCaption(int feed);
QString FeedUseCaption(int feed);
QString PercentUnit();
QString FloatTimeButtonCaption();
QString MaxNewsWaitCaption();
QString BlockStraksLiveCaption();
// The log-in level list completes the sentence of its check box ("Automatisch aanloggen als").
QString LoginLevelName(const QString& caption);

// --- Dialogs ----------------------------------------------------------------------------------

QString SaveChangesCaption();
QString LeaveWindowCaption();
QString SaveAndCloseCaption();
QString FloatNewsCaption();
QString AutoRotateCaption();
QString UseFloatNewsCaption();
QString StartAtCaption();
QString EndsAtCaption();
QString MinutesName();
QString SecondsName();
QString FillUpToCaption();
QString FillUpToName();
QString SecondsUnit();
QString HappensInCaption();
QString AutomationCaption();
QString LiveCaption();
QString HardCaption();
QString SoftCaption();
// "Automaat hard": the name of a situation's Hard or Zacht button.
QString HardName(const QString& situation);
QString SoftName(const QString& situation);
QString FeedCaption(int feed);  // "Feed 1".."Feed 3", numbered from 1

// --- Controls ---------------------------------------------------------------------------------

QString StepUpName();
QString StepDownName();
// Week-hour grid: day names from Monday (0), and the tips of its row and column buttons.
QString WeekdayName(int day);
QString ToggleHourTip(int hour);
QString ToggleDayTip(int day);
QString DayHourName(int day, int hour);

// --- Start-up ---------------------------------------------------------------------------------

// The folder chooser of an installed copy that does not know the server's folder yet.
QString ChooseServerFolderPrompt();
QString ChooserOk();
QString ChooserNewFolder();
QString ChooserCancel();
// Why a language file could not be used, and what the user is told once when none could.
QString LanguageFileMissing();
QString LanguageFileUnreadable();
QString LanguageFileWithoutTexts();
QString BuiltInTextsUsed(const QStringList& filesAndReasons);

// --- Status lines -----------------------------------------------------------------------------

// A window whose controls differ from what it read or last saved; `places` names the pages or
// dialogs that hold the edits (none: the window itself).
QString UnsavedChanges(const QStringList& places = {});
// How another open window is named in the main window's list: "venster <title>".
QString DialogPlace(const QString& title);
// After a save: the files written and when ("Bewaard: server.ini, news.ini (21:04:13)").
QString SavedFiles(const QStringList& files, const QString& time);
// After a save that found every file holding the window's values already: nothing was written.
QString AlreadySaved(const QStringList& files, const QString& time);
// After a save that failed for some file: "file: reason" for each, and the files it did write.
QString NotSavedLine(const QStringList& failures, const QStringList& written, const QString& time);
QString FileAndReason(const QString& file, const QString& reason);
// While a save runs, and while it waits for another program's lock on the folder.
QString SavingNow();
QString WaitingForFolder();
// A file changed on disk by another hand: "PresLevel 80 → 90" for each key (`changes`, a few and
// how many more), and by whom when the history knows ("quorvant-ini, root@studio1, 10:32");
// read again at once, or (the window holds edits to it) told, with the button that reads it again.
QString KeyChangeText(const QString& key, const QString& before, const QString& after);
QString ChangesText(const QStringList& changes, qsizetype more);
QString ChangedBy(const QString& program, const QString& action, const QString& saver, const QString& time);
QString ReadAgainLine(const QString& file, const QString& changes, const QString& by);
QString ChangedOnDiskLine(const QString& file, const QString& changes, const QString& by);
QString ReadAgainCaption();
// Values the next save writes otherwise than the file holds although nobody changed them (a word
// in a number field written as 0), beside the unsaved edits; the button that lists what a save
// changes, the list's title, columns, and why each value changes; the keys the file lacks.
QString UntouchedRewrites(int count);
QString WhatIsSavedCaption();
QString WhatIsSavedTitle();
QString WhatIsSavedIntro(int count);
QStringList WhatIsSavedColumns();
QString NothingToSave();
QString EditedHere();
QString RewrittenUnreadable(const QString& expected, const QString& written);
QString RewrittenOutOfLimits(const QString& limits, const QString& written);
QString RewrittenEmpty(const QString& written);
QString RewrittenOtherwise(const QString& written);
QString MissingKeysAdded(int count);
// Which program folder the main window edits.
QString EditedFolder(const QString& folder);
// Which settings file a dialog edits.
QString EditedFile(const QString& file);
// Beside the panic genre list while data.mdb is read.
QString GenresReading();
// Values the server would not read as meant: how many, and on which pages ("3 waarschuwingen op
// Automatisatie, Kleuren"), and "(opslaan kan niet)" after them while a value stops the save;
// clicking it goes to the next marked field.
QString CheckWarnings(int count, const QStringList& pages = {}, bool blocksSave = false);
QString NextMarkedField();
// A marked field's tool tip: the reasons, one per line, after whether the save goes on or cannot
// write the value at all.
QString CheckMarkTip(const QStringList& reasons, bool blocksSave = false);

// --- Finding a setting, and what is known about a field ---------------------------------------

// The search field above the main window's pages and its drop-down list.
QString SearchPlaceholder();
QString SearchResultsName();
// One row of the list: "caption — page — [Section] Key — value".
QString SearchResult(const QString& caption, const QString& page, const QString& sectionKey, const QString& value);
QString SearchNothingFound();
// The status line's help for a field: its parts, joined by FieldHelpLine.
QString FieldPlace(const QString& caption, const QString& sectionKey, const QString& file);
QString FieldLimits(const QString& lowest, const QString& highest, const QString& unit, qint32 step);
QString FieldDefault(const QString& value);
QString FieldInFile(const QString& text);
QString FieldNotInFile();
QString FieldHelpLine(const QStringList& parts);
// A field's context menu.
QString UseDefaultCaption(const QString& value);
QString FieldHistoryCaption();
QString CopyKeyCaption(const QString& sectionKey);
QString MarkNotDefaultCaption();
// The history window shown for one key, and its value column.
QString FieldHistoryTitle(const QString& sectionKey, const QString& file);
QString FieldValueColumn();

// --- The program folder at start ----------------------------------------------------------------

// A folder with neither server.ini nor news.ini: what to do with it.
QString EmptyFolderTitle();
QString EmptyFolderQuestion(const QString& folder);
QString ChooseOtherFolder();
QString OpenAnyway();
QString StopCaption();
// The remembered program folder is gone; `why` says how.
QString RememberedFolderGone(const QString& folder, const QString& why);
QString FolderDoesNotExist();
QString FolderIsNoFolder();

}  // namespace quorvant::msg
