#include "windows/main_window/frmSetup.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <exception>

#include "settings/PathChecks.h"
#include "settings/ValueRules.h"
#include "text/Messages.h"
#include "text/TextTable.h"
#include "widgets/Icons.h"
#include "windows/dialogs/frmFloatTime.h"
#include "windows/dialogs/frmHistory.h"
#include "windows/dialogs/frmIntNews.h"
#include "windows/dialogs/frmMultiJingles.h"
#include "windows/main_window/AudioFeeds.h"
#include "windows/main_window/AutomationTiming.h"
#include "windows/main_window/ExternalNews.h"
#include "windows/main_window/FileLocations.h"
#include "windows/main_window/NetworkLinks.h"
#include "windows/main_window/NewsDescriptions.h"
#include "windows/main_window/PlaylistColours.h"
#include "windows/main_window/ProgramOptions.h"
#include "windows/main_window/SettingSearch.h"
#include "windows/main_window/SoundCards.h"
#include "windows/main_window/TimeSignalBlock.h"
#include "windows/shared/CheckMarks.h"
#include "windows/shared/Controls.h"
#include "windows/shared/DialogWindow.h"
#include "windows/shared/FieldHelp.h"
#include "windows/shared/FieldOverlay.h"
#include "windows/shared/HistoryNotices.h"
#include "windows/shared/OutsideChanges.h"
#include "windows/shared/SaveOrReport.h"
#include "windows/shared/StatusLine.h"
#include "windows/shared/WhatIsSaved.h"
#include "windows/shared/WindowButtons.h"

namespace quorvant {

namespace {
// The files the window writes, in the order of the save.
constexpr schema::File kWrittenFiles[] = {schema::File::Server, schema::File::News};
}  // namespace

frmSetup::frmSetup(const QString& programFolder, const Services& services, QWidget* parent) : QWidget(parent) {
    setObjectName("frmSetup");
    context_.programFolder = programFolder;
    context_.services = services;
    context_.window = this;

    auto* layout = new QVBoxLayout(this);
    tabSetup = Named<QTabWidget>("tabSetup", this);
    context_.tabSetup = tabSetup;
    for (int tab = 0; tab < kTabs; ++tab) {
        auto* page = Named<QWidget>(QString("tab%1").arg(tab));
        new QVBoxLayout(page);
        context_.tabs[tab] = page;
        tabSetup->addTab(page, QString());
    }
    layout->addWidget(tabSetup);

    cmdSave = MakePictureButton("cmdSave", this);
    cmdHistory = MakePictureButton("cmdHistory", this);
    SetPicture(cmdHistory, HistoryIcon(), msg::HistoryCaption());
    cmdStop = MakePictureButton("cmdStop", this);
    layout->addLayout(ButtonRow({cmdSave, cmdHistory, cmdStop}));
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdHistory, &QPushButton::clicked, this, [this] { cmdHistory_Click(); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this), &QShortcut::activated, this,
            [this] { cmdHistory_Click(); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });

    // Built in the order of their sections; pages shared by two groups get their frames in this order.
    files_ = std::make_unique<FileLocations>(context_);
    soundCards_ = std::make_unique<SoundCards>(context_);
    automation_ = std::make_unique<AutomationTiming>(context_);
    feeds_ = std::make_unique<AudioFeeds>(context_);
    timeSignal_ = std::make_unique<TimeSignalBlock>(context_);
    options_ = std::make_unique<ProgramOptions>(context_);
    colours_ = std::make_unique<PlaylistColours>(context_);
    links_ = std::make_unique<NetworkLinks>(context_);
    news_ = std::make_unique<ExternalNews>(context_, *files_);
    descriptions_ = std::make_unique<NewsDescriptions>(context_, news_->cdmExtNews);

    statusLine = new StatusLine(this, [this] { return PendingValuesNow(); }, [this](QWidget* control) {
        return PageOf(control);
    });
    statusLine->ShowFolder(QDir::toNativeSeparators(programFolder));
    statusLine->ListOtherWindows(true);
    ShowHistoryNotices(statusLine,
                       [this] { return QStringList{PathOf(schema::File::Server), PathOf(schema::File::News)}; });
    layout->addWidget(statusLine);

    Form_Load();

    AddSaveShortcut(this, cmdSave);
    DisableDuringSaves(cmdSave);
    QStringList pages;
    for (int tab = 0; tab < tabSetup->count(); ++tab) pages << tabSetup->tabText(tab);
    statusLine->Edits().SetPlaceOrder(pages);
    statusLine->Watch();
    AddCheckMarks();
    AddOutsideChanges();
    AddSearchAndHelp();
}

void frmSetup::AddOutsideChanges() {
    QPushButton* whatIsSaved = AddWhatIsSaved(this, statusLine, [this] {
        return NextSave(context_.bindings, {std::begin(kWrittenFiles), std::end(kWrittenFiles)}, {}, statusLine->Edits());
    });
    const auto shown = [this](schema::File file, std::function<void()> read) {
        // commonsettings.ini is only where server.ini names a database folder.
        return OutsideChanges::Shown{[this, file] {
                                         const bool none = file == schema::File::Common && context_.databasePath.isEmpty();
                                         return none ? QString() : PathOf(file);
                                     },
                                     &Accessor(file), std::move(read)};
    };
    auto* watch = new OutsideChanges(
        this, statusLine,
        {shown(schema::File::Server,
               [this] {
                   LeesIni();
                   // The feeds' cards and lines are chosen from what the read gave them.
                   feeds_->SelectStoredCards();
                   feeds_->SelectStoredChannels();
               }),
         shown(schema::File::News, [this] { LeesNews(); }), shown(schema::File::Common, [this] { LaadDesc(); })});
    PutButtonsLast(this, {checkMarks, whatIsSaved, watch->ReadAgainButton(), cmdSave, cmdHistory, cmdStop});
}

void frmSetup::AddSearchAndHelp() {
    txtSearch = new SettingSearch(this, [this] { return SearchEntries(); }, [this](const SearchEntry& e) { GoTo(e); });
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, txtSearch);
    // Reached by Ctrl+F (or a click), not by Tab: Tab keeps going from the pages to save,
    // history and quit and round to the pages again.
    txtSearch->setFocusPolicy(Qt::ClickFocus);
    const QString shortcut = QKeySequence(QKeySequence::Find).toString(QKeySequence::NativeText);
    txtSearch->setToolTip(QString("%1 (%2)").arg(txtSearch->placeholderText(), shortcut));
    txtSearch->setAccessibleDescription(shortcut);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        txtSearch->setFocus(Qt::ShortcutFocusReason);
        txtSearch->selectAll();
    });
    fieldHelp = new FieldHelp(this, context_.bindings, statusLine, checkMarks, *context_.services.preferences,
                              [this](const schema::Key& key, const QString& section) {
                                  ShowFieldHistory(PathOf(key.file), section, key.Name(), context_.services, this);
                              });
}

namespace {
QString ShownText(const Binding& binding) {
    try {
        return TextOf(binding.write());
    } catch (const std::exception&) {
        return {};
    }
}
}  // namespace

QList<SearchEntry> frmSetup::SearchEntries() const {
    QList<SearchEntry> entries;
    // A dialog that is not open shows what its file holds.
    IniAccessor files[3];
    for (schema::File file : {schema::File::Server, schema::File::News, schema::File::Common})
        files[int(file)].SetFile(PathOf(file));
    for (const schema::Key& key : schema::Keys()) {
        if (key.window == schema::Window::Setup) {
            if (const Binding* binding = context_.bindings.Of(key))
                entries << SearchEntry{&key, key.Section(), schema::CaptionText(key), schema::PageText(key),
                                       ShownText(*binding), binding->Field()};
            continue;
        }
        SettingsDialog* open = DialogOf(key.window);
        for (const QString& section : schema::SectionNames(key.section)) {
            SearchEntry entry{&key, section, schema::CaptionText(key), DialogTitle(key.window, section), {}, nullptr};
            const QString shown = open ? open->ShownSection() : QString();
            if (const Binding* binding = open ? open->KeyBindings().Of(key) : nullptr;
                binding && (shown.isNull() ? key.Section() : shown) == section) {
                entry.value = ShownText(*binding);
                entry.field = binding->Field();
            } else {
                SkipOnFailure([&] {
                    IniAccessor& ini = files[int(key.file)];
                    ini.SetSection(section);
                    ini.SetKey(key.Name());
                    entry.value = ini.ReadValue();
                    if (!ini.KeyExists()) entry.value = msg::AbsentValue();
                });
            }
            entries << entry;
        }
    }
    return entries;
}

QString frmSetup::DialogTitle(schema::Window window, const QString& section) const {
    switch (window) {
        case schema::Window::IntNews: {
            const qsizetype item = schema::NewsItemSections().indexOf(section);
            return item >= 0 && item < kNewsItems ? news_->cdmExtNews[item]->text().remove(u'&') : section;
        }
        case schema::Window::FloatNews:
            return msg::FloatNewsCaption().remove(u'&');
        case schema::Window::FloatTime:
            return Text(309).remove(u'&');
        case schema::Window::MultiJingles:
            return Text(310).remove(u'&');
        case schema::Window::Setup:
            break;
    }
    return {};
}

SettingsDialog* frmSetup::DialogOf(schema::Window window) const {
    switch (window) {
        case schema::Window::IntNews:
            return news_->IntNews();
        case schema::Window::FloatNews:
            return frmIntNews::FloatNewsShown();
        case schema::Window::FloatTime:
            return timeSignal_->FloatTime();
        case schema::Window::MultiJingles:
            return soundCards_->MultiJingles();
        case schema::Window::Setup:
            break;
    }
    return nullptr;
}

SettingsDialog* frmSetup::OpenDialog(schema::Window window, const QString& section) {
    switch (window) {
        case schema::Window::IntNews: {
            const int item = int(schema::NewsItemSections().indexOf(section));
            if (frmIntNews* open = news_->IntNews(); open && open->Item() != item) {
                if (open->statusLine && open->statusLine->Edits().Dirty()) {
                    BringToFront(open);
                    return nullptr;
                }
                open->close();
                delete open;
            }
            news_->cdmExtNews_Click(item);
            break;
        }
        case schema::Window::FloatNews:
            frmIntNews::ShowFloatNews(context_.programFolder, context_.services, this);
            break;
        case schema::Window::FloatTime:
            timeSignal_->cmdVlottendTijdsein_Click();
            if (frmFloatTime* open = timeSignal_->FloatTime();
                open && open->LiveShown() != (section == QLatin1String("FloatTSlive"))) {
                (open->LiveShown() ? open->Option1 : open->Option2)->setFocus(Qt::OtherFocusReason);
                return nullptr;
            }
            break;
        case schema::Window::MultiJingles:
            soundCards_->cmdMultiJingle_Click();
            break;
        case schema::Window::Setup:
            return nullptr;
    }
    return DialogOf(window);
}

void frmSetup::GoTo(const SearchEntry& entry) {
    const schema::Key& key = *entry.key;
    if (key.window == schema::Window::Setup) {
        context_.ShowTab(key.tab);
        if (const Binding* binding = context_.bindings.Of(key); binding && binding->Field())
            FocusField(FocusTargetOf(*binding));
        return;
    }
    if (SettingsDialog* dialog = OpenDialog(key.window, entry.section))
        if (const Binding* binding = dialog->KeyBindings().Of(key); binding && binding->Field())
            FocusField(FocusTargetOf(*binding));
}

void frmSetup::AddCheckMarks() {
    checkMarks = new CheckMarks(this, statusLine, context_.bindings, statusLine->Edits(), tabSetup, context_.facts);
    statusLine->addWidget(checkMarks);
    context_.factsArrived = [this] { checkMarks->Refresh(); };
    // The pages' own controls come first for Tab, then the warnings, save, history and quit.
    PutButtonsLast(this, {checkMarks, cmdSave, cmdHistory, cmdStop});
    // The tabs' warning icons take room too.
    FitTabs(size());
}

void frmSetup::FitTabs(QSize least) {
    // Wide enough for all 13 tab captions where the screen allows, so no page hides behind arrows.
    const int tabsWidth = tabSetup->tabBar()->sizeHint().width() + 48;
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                          : QRect(0, 0, 1600, 1200);
    resize(std::min(std::max(least.width(), tabsWidth), screen.width()), std::min(least.height(), screen.height()));
}

QList<PendingValue> frmSetup::PendingValuesNow() const {
    QList<PendingValue> values;
    for (schema::File file : kWrittenFiles) values += context_.bindings.Pending(file);
    return values;
}

QString frmSetup::PageOf(QWidget* control) const {
    for (QWidget* w = control; w && w != this; w = w->parentWidget()) {
        const int tab = tabSetup->indexOf(w);
        if (tab >= 0) return tabSetup->tabText(tab);
    }
    return {};
}

void frmSetup::closeEvent(QCloseEvent* event) {
    // Closed by its title bar: the open dialogs stay and keep working on their own, and the program
    // ends when the last of them closes.
    for (QObject* child : children()) {
        auto* dialog = qobject_cast<QWidget*>(child);
        if (!dialog || !dialog->isWindow() || !dialog->isVisible()) continue;
        const QRect place = dialog->geometry();
        dialog->setParent(nullptr, dialog->windowFlags());
        dialog->setGeometry(place);
        dialog->show();
    }
    QWidget::closeEvent(event);
}

frmSetup::~frmSetup() {
    // Hidden while the pages and their bindings still live: the focus leaving a field (a genre
    // typed in another case becomes the list's entry) asks what the bindings would write.
    hide();
}

std::vector<SetupPart*> frmSetup::Parts() const {
    return {files_.get(),   soundCards_.get(), automation_.get(), feeds_.get(), timeSignal_.get(),
            options_.get(), colours_.get(),    links_.get(),      news_.get(),  descriptions_.get()};
}

QString frmSetup::VersionCaption() {
    return QString("Quorvant %1.%2 build %3")
        .arg(QUORVANT_VERSION_MAJOR)
        .arg(QUORVANT_VERSION_MINOR)
        .arg(QUORVANT_VERSION_BUILD);
}

std::vector<frmSetup::StartUpStep> frmSetup::StartUpSteps() {
    return {
        {"mixers", [this] { feeds_->CreateMixers(); }},
        {"LaadTaal", [this] { LaadTaal(context_.programFolder); }},
        {"LaadScherm", [this] { LaadScherm(); }},
        {"VulTijdSeinBlok", [this] { timeSignal_->VulTijdSeinBlok(); }},
        {"LeesIni", [this] { LeesIni(); }},
        {"LaadDesc", [this] { LaadDesc(); }},
        {"LeesNews", [this] { LeesNews(); }},
        {"caption", [this] { setWindowTitle(VersionCaption()); }},
        {"card spin limits", [this] { soundCards_->SetSpinLimits(); }},
        {"feed card lists", [this] { feeds_->FillDeviceLists(); }},
        {"feed cards", [this] { feeds_->SelectStoredCards(); }},
        {"feed channels", [this] { feeds_->SelectStoredChannels(); }},
        {"colour chooser", [this] { colours_->SetChooserFlags(); }},
        {"genres", [this] { automation_->LoadGenres(); }},
        {"tab 0", [this] { context_.ShowTab(Tab::FileLocations); }},
        {"tab 11 off", [this] { tabSetup->setTabEnabled(int(Tab::FloatingCommercials), false); }},
    };
}

void frmSetup::Form_Load() {
    for (const StartUpStep& step : StartUpSteps()) SkipOnFailure(step.run);
    ReportLoadProblems();
    FitTabs(QSize(900, 680));
}

void frmSetup::ReportLoadProblems() {
    // The window opens with defaults either way; the user learns once which file was not read.
    QStringList messages;
    for (schema::File file : kWrittenFiles) {
        const QString message = NotReadMessage(PathOf(file));
        if (!message.isEmpty()) messages << message;
    }
    if (!messages.isEmpty()) context_.services.errors->Report(this, windowTitle(), messages.join("\n\n"));
}

void frmSetup::LaadScherm() {
    setWindowTitle(Text(103));
    for (int tab = 0; tab < kTabs; ++tab) tabSetup->setTabText(tab, Text(104 + tab));
    SetPicture(cmdSave, IconResource(103), Text(101));
    SetPicture(cmdStop, IconResource(101), Text(102));
    // The keys' captions first: pages name some controls after them.
    SkipOnFailure([this] { context_.bindings.ApplyCaptions(); });
    for (SetupPart* part : Parts()) SkipOnFailure([part] { part->LaadScherm(); });
}

QString frmSetup::PathOf(schema::File file) const {
    // commonsettings.ini lies in the database folder as the read pass found it.
    const QString folder = file == schema::File::Common ? context_.databasePath : context_.programFolder;
    return JoinPath(folder, schema::FileName(file));
}

IniAccessor& frmSetup::Accessor(schema::File file) {
    switch (file) {
        case schema::File::News:
            return iniNews;
        case schema::File::Common:
            return iniDesc;
        case schema::File::Server:
            break;
    }
    return iniCon;
}

void frmSetup::ReadFile(schema::File file) {
    IniAccessor& ini = Accessor(file);
    ini.SetFile(PathOf(file));
    context_.bindings.Read(ini, file);
}

void frmSetup::LeesIni() { ReadFile(schema::File::Server); }
void frmSetup::LaadDesc() { ReadFile(schema::File::Common); }
void frmSetup::LeesNews() { ReadFile(schema::File::News); }

bool frmSetup::cmdSave_Click() {
    // Each file is saved on its own: a value server.ini cannot take does not keep news.ini back.
    WindowSave save(this, *context_.services.errors, statusLine);
    // Another save or restore runs (a screen reader pressed this one meanwhile): nothing to tell.
    if (!save.HasTurn()) return false;
    for (SetupPart* part : Parts()) {
        const QString refusal = part->RefuseSave();
        if (!refusal.isEmpty()) {
            context_.services.errors->Report(this, windowTitle(), refusal);
            return false;
        }
    }
    bool all = true;
    for (schema::File file : kWrittenFiles) {
        IniAccessor& ini = Accessor(file);
        ini.SetFile(PathOf(file));
        const bool saved = save.File(ini, [&] { context_.bindings.Write(ini, file); });
        if (saved) context_.bindings.Wrote(file);
        all = saved && all;
    }
    save.Finish();
    return all;
}

void frmSetup::cmdHistory_Click() {
    ShowOrRaise(history_, [this] {
        return new frmHistory({PathOf(schema::File::Server), PathOf(schema::File::News), PathOf(schema::File::Common)},
                              context_.services, this);
    });
}

void frmSetup::cmdStop_Click() {
    // Leaves at once, without saving and without a question.
    QCoreApplication::quit();
}

}  // namespace quorvant
