#pragma once

#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "settings/IniAccessor.h"
#include "windows/main_window/SetupPart.h"

class QTabWidget;
class QPushButton;
class QCloseEvent;

namespace quorvant {

class FileLocations;
class SoundCards;
class AutomationTiming;
class AudioFeeds;
class TimeSignalBlock;
class ProgramOptions;
class PlaylistColours;
class NetworkLinks;
class ExternalNews;
class NewsDescriptions;
class StatusLine;
class frmHistory;
class CheckMarks;
class FieldHelp;
class SettingSearch;
class SettingsDialog;
struct SearchEntry;

// The main settings window: 13 tab pages, save and quit.
class frmSetup : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs the start-up sequence (Form_Load).
    frmSetup(const QString& programFolder, const Services& services, QWidget* parent = nullptr);
    ~frmSetup() override;

    // A named start-up step; each runs under skip-on-failure.
    struct StartUpStep {
        QString name;
        std::function<void()> run;
    };
    std::vector<StartUpStep> StartUpSteps();

    void LaadScherm();
    // The read steps of start-up: server.ini, commonsettings.ini (in the database folder just
    // read), news.ini. Each reads the file's keys of every page.
    void LeesIni();
    void LaadDesc();
    void LeesNews();
    // Saves server.ini, then news.ini; each file is one atomic replacement. Returns false (after
    // telling the user which file and why) when something was not saved.
    bool cmdSave_Click();
    void cmdStop_Click();
    // Opens the settings history (Ctrl+H), or brings the open one to the front.
    void cmdHistory_Click();

    QString ProgramFolder() const { return context_.programFolder; }
    QString DatabasePath() const { return context_.databasePath; }
    // The caption the window gets at the end of start-up.
    static QString VersionCaption();

    QTabWidget* tabSetup = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdHistory = nullptr;
    QPushButton* cmdStop = nullptr;
    // Unsaved edits or the last save, and the program folder this window edits.
    StatusLine* statusLine = nullptr;
    // Fields whose value the server would not read as meant; part of the status line.
    CheckMarks* checkMarks = nullptr;
    // Finds a setting here or in a dialog (Ctrl+F); above the pages.
    SettingSearch* txtSearch = nullptr;
    // What the status line tells about the focused field, and the fields' menu.
    FieldHelp* fieldHelp = nullptr;
    IniAccessor iniCon;
    IniAccessor iniNews;
    IniAccessor iniDesc;

    FileLocations& Files() { return *files_; }
    SoundCards& Cards() { return *soundCards_; }
    AutomationTiming& Automation() { return *automation_; }
    AudioFeeds& Feeds() { return *feeds_; }
    TimeSignalBlock& TimeSignal() { return *timeSignal_; }
    ProgramOptions& Options() { return *options_; }
    PlaylistColours& Colours() { return *colours_; }
    NetworkLinks& Links() { return *links_; }
    ExternalNews& News() { return *news_; }
    // Every key the window shows, bound to its control.
    const Bindings& KeyBindings() const { return context_.bindings; }
    // Every place a key is shown, for the search: this window's keys, and each dialog's keys in
    // each section it can show, with what the field shows now (the file's text for a dialog that
    // is not open).
    QList<SearchEntry> SearchEntries() const;
    // Shows an entry's page, or opens its dialog at its section, and focuses its field. An open
    // schedule of another news item is closed first when it holds no edits; with edits it is only
    // brought to the front. A floating time signal that shows the other set focuses that set's
    // button: switching saves the shown set, so the user does it.
    void GoTo(const SearchEntry& entry);
    // The dialog that shows the keys of `window` while it is open, else null.
    SettingsDialog* DialogOf(schema::Window window) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    // What a save would write now, server.ini then news.ini.
    QList<PendingValue> PendingValuesNow() const;
    // The caption of the page a control sits on.
    QString PageOf(QWidget* control) const;
    void ReportLoadProblems();
    void AddCheckMarks();
    // The list of what a save changes, and the watch on the files for changes by other hands.
    void AddOutsideChanges();
    void AddSearchAndHelp();
    QString DialogTitle(schema::Window window, const QString& section) const;
    SettingsDialog* OpenDialog(schema::Window window, const QString& section);
    // At least `least` and wide enough for every tab caption, within the screen.
    void FitTabs(QSize least);
    std::vector<SetupPart*> Parts() const;
    // Where the window reads and writes each of its files, and through which accessor.
    QString PathOf(schema::File file) const;
    IniAccessor& Accessor(schema::File file);
    void ReadFile(schema::File file);

    SetupContext context_;
    std::unique_ptr<FileLocations> files_;
    std::unique_ptr<SoundCards> soundCards_;
    std::unique_ptr<AutomationTiming> automation_;
    std::unique_ptr<AudioFeeds> feeds_;
    std::unique_ptr<TimeSignalBlock> timeSignal_;
    std::unique_ptr<ProgramOptions> options_;
    std::unique_ptr<PlaylistColours> colours_;
    std::unique_ptr<NetworkLinks> links_;
    std::unique_ptr<ExternalNews> news_;
    std::unique_ptr<NewsDescriptions> descriptions_;
    QPointer<frmHistory> history_;
};

}  // namespace quorvant
