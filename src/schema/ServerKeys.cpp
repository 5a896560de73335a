// server.ini: every key the main window and its three server.ini dialogs read and write.
#include "schema/KeyData.h"
#include "text/Messages.h"

namespace quorvant::schema::data {

namespace {

constexpr Key S(const char* section, const char* name, Rule rule) { return Entry(File::Server, section, name, rule); }

// An LED field: whole numbers within the field's limits; a stored value outside them is kept.
constexpr Key Led(const char* section, const char* name, Rule rule, qint32 lowest, qint32 highest, qint32 step,
                  int digits) {
    return S(section, name, rule).Range(lowest, highest, step, digits).With(KeepsOutOfRange);
}

// A sound card of this machine: -1, the default device, where the text is empty.
constexpr Key Card(const char* name) {
    return S("AudioPlayers", name, Rule::EmptyDefault).Bits16().Default(-1).With(SoundDevice);
}

using enum Rule;
using enum Tab;

constexpr Key kKeys[] = {
    // [Files]: the folders of the server.
    S("Files", "DatabasePath", Text).With(DatabaseFolder | FolderPath).Label(117).On(FileLocations),
    S("Files", "LogPath", Text).With(FolderPath).Label(118).On(FileLocations),
    S("Files", "RepeatPath", Text).With(FolderPath).Label(119).On(FileLocations),
    S("Files", "FragPath", Text).With(FolderPath).Label(120).On(FileLocations),

    // [AudioPlayers]: the players' sound cards.
    S("AudioPlayers", "MultiJingle", OneMeansOn).Label(306).On(SoundCards),
    Card("Player_Auto_card").Label(302).On(SoundCards),
    Card("Player_Jingles_card").Label(303).On(SoundCards),
    Card("Player_A_card").Label(304).On(SoundCards),
    Card("Player_B_card").Label(305).On(SoundCards),

    // [Faders]: timing, then the four audio feeds, then the time signal's fader.
    Led("Faders", "PresLevel", EmptyDefault, 0, 999, 1, 3).Default(0).Label(145).Unit(148).On(Automation),
    Led("Faders", "PresSpeed", EmptyDefault, 0, 9999, 10, 4).Default(0).Label(144).Unit(147).On(Automation),
    Led("Faders", "FaderSpeed", EmptyDefault, 0, 9999, 10, 4).Default(0).Label(143).Unit(147).On(Automation),
    Led("Faders", "PresFactor", EmptyDefault, 0, 10, 1, 2).Default(1).Initially(1).Label(281).On(Automation),
    Led("Faders", "IntroComp", EmptyDefault, -99999, 99999, 10, 5).Default(0).Label(282).Unit(147).On(Automation),
    Led("Faders", "OuttroComp", EmptyDefault, -99999, 99999, 10, 5).Default(0).Label(283).Unit(147).On(Automation),
    // UseLine: an empty text is refused (no default). The fourth feed has no texts of the table.
    S("Faders", "UseLine1", CheckState).Label(190).On(ExternalAudio),
    S("Faders", "LineCard1", WholeNumber).Bits16().With(MixerNumber).Label(196, 187).On(ExternalAudio),
    S("Faders", "LineChannel1", WholeNumber).Bits16().With(MixerNumber).Label(197, 187).On(ExternalAudio),
    Led("Faders", "Level1", WholeNumber, 0, 100, 1, 3).Label(198, 187).FixedUnit(msg::PercentUnit).On(ExternalAudio),
    S("Faders", "UseLine2", CheckState).Label(191).On(ExternalAudio),
    S("Faders", "LineCard2", WholeNumber).Bits16().With(MixerNumber).Label(196, 188).On(ExternalAudio),
    S("Faders", "LineChannel2", WholeNumber).Bits16().With(MixerNumber).Label(197, 188).On(ExternalAudio),
    Led("Faders", "Level2", WholeNumber, 0, 100, 1, 3).Label(198, 188).FixedUnit(msg::PercentUnit).On(ExternalAudio),
    S("Faders", "UseLine3", CheckState).Label(192).On(ExternalAudio),
    S("Faders", "LineCard3", WholeNumber).Bits16().With(MixerNumber).Label(196, 189).On(ExternalAudio),
    S("Faders", "LineChannel3", WholeNumber).Bits16().With(MixerNumber).Label(197, 189).On(ExternalAudio),
    Led("Faders", "Level3", WholeNumber, 0, 100, 1, 3).Label(198, 189).FixedUnit(msg::PercentUnit).On(ExternalAudio),
    S("Faders", "UseLine4", CheckState).FixedLabel([] { return msg::FeedUseCaption(3); }).On(ExternalAudio),
    S("Faders", "LineCard4", WholeNumber).Bits16().With(MixerNumber).Label(196, 308).On(ExternalAudio),
    S("Faders", "LineChannel4", WholeNumber).Bits16().With(MixerNumber).Label(197, 308).On(ExternalAudio),
    Led("Faders", "Level4", WholeNumber, 0, 100, 1, 3).Label(198, 308).FixedUnit(msg::PercentUnit).On(ExternalAudio),
    Led("Faders", "TMFaderSpeed", EmptyDefault, 0, 9999, 10, 4).Default(0).Label(221).Unit(222).On(TimeSignalBlock),

    // [Sequencer]: read with PanicGenre first, written with Latency first (see the sections).
    S("Sequencer", "PanicGenre", Text).With(EmptyKeeps | GenreName).Label(299).On(Automation),
    Led("Sequencer", "Latency", EmptyDefault, 0, 9999, 10, 4).Default(0).Label(142).Unit(147).On(Automation),
    // The field starts at 50; only an empty text gives 55.
    Led("Sequencer", "B6Start", EmptyDefault, 50, 59, 1, 2).Default(55).Initially(50).Label(146).Unit(149)
        .On(Automation),
    S("Sequencer", "IgnoreVT", CheckState).With(EmptyIsOff).Label(301).On(Automation),
    // The slots around the time signal: positions in lists of 8 (before) and 9 (after) entries.
    S("Sequencer", "B6-1", ListPosition).Range(-1, 7).With(EmptyKeeps).Label(218, 0, 1).On(TimeSignalBlock),
    S("Sequencer", "B6-2", ListPosition).Range(-1, 7).With(EmptyKeeps).Label(218, 0, 2).On(TimeSignalBlock),
    S("Sequencer", "B6-3", ListPosition).Range(-1, 7).With(EmptyKeeps).Label(218, 0, 3).On(TimeSignalBlock),
    S("Sequencer", "B1-1", ListPosition).Range(-1, 8).With(EmptyKeeps).Label(219, 0, 1).On(TimeSignalBlock),
    S("Sequencer", "B1-2", ListPosition).Range(-1, 8).With(EmptyKeeps).Label(219, 0, 2).On(TimeSignalBlock),
    S("Sequencer", "B1-3", ListPosition).Range(-1, 8).With(EmptyKeeps).Label(219, 0, 3).On(TimeSignalBlock),
    S("Sequencer", "TS_Pre_Float", OneMeansOn).Label(287).On(TimeSignalBlock),
    Led("Sequencer", "TS_Pre_Float_Time", EmptyDefault, 0, 99, 1, 2).Default(0).Label(287).Unit(256)
        .On(TimeSignalBlock),

    // [program]: screen, log-in and other options.
    S("program", "Debugger", OneMeansOn).Label(160).On(Miscellaneous),
    S("program", "BlockLive", OneMeansOn).FixedLabel(msg::BlockStraksLiveCaption).On(Miscellaneous),
    S("program", "Sabam", OneMeansOn).Label(161).On(Miscellaneous),
    S("program", "Mes1", Text).With(WrittenTrimmed).Label(152).On(Miscellaneous),
    S("program", "Dual", Pair).Label(150).On(Miscellaneous),
    S("program", "ScreenPos", Pair).Label(284).On(Miscellaneous),
    S("program", "StartUp", Pair).Label(153).On(Miscellaneous),
    S("program", "IR", OneMeansOn).Label(209).On(IoInterface),
    S("program", "AutoIR", OneMeansOn).Label(210).On(IoInterface),
    // Anything but "0".."7" exactly (blanks, "1.0", empty) selects the first option.
    S("program", "Login", Option).Range(0, 7).Default(0).With(ExactText | FailGivesDefault).Label(155)
        .On(Miscellaneous),
    S("program", "AutoLogin", CheckState).WrittenAs("Autologin").With(EmptyIsOff).Label(164).On(Miscellaneous),
    S("program", "LoginLevel", ListPosition).Range(-1, 3).With(EmptyKeeps).Label(164).On(Miscellaneous),
    S("program", "PersJingle", CheckState).With(EmptyIsOff).Label(173).On(Miscellaneous),
    // Empty selects Master; a number other than 0 or 1 is refused and leaves neither selected.
    S("program", "Slave", Option).Bits16().Range(0, 1).Default(0).Label(157).On(Miscellaneous),

    // [Colors]: background and text of six playlist items.
    S("Colors", "MusBack", Colour).Range(0, 0xFFFFFF).With(KeepsOutOfRange).Label(183, 177).On(Colours),
    S("Colors", "MusTxt", Colour).Range(0, 0xFFFFFF).With(KeepsOutOfRange).Label(184, 177).On(Colours),
    S("Colors", "JingBack", Colour).Range(0, 0xFFFFFF).With(KeepsOutOfRange).Label(183, 178).On(Colours),
    S("Colors", "JingTxt", Colour).Range(0, 0xFFFFFF).With(KeepsOutOfRange).Label(184, 178).On(Colours),
    S("Colors", "PresBack", Colour).Range(0, 0xFFFFFF).With(KeepsOutOfRange).Label(183, 182).On(Colours),
    S("Colors", "PresTxt", Colour).Range(0, 0xFFFFFF).With(KeepsOutOfRange).Label(184, 182).On(Colours),
    S("Colors", "RecBack", Colour).Range(0, 0xFFFFFF).With(KeepsOutOfRange).Label(183, 179).On(Colours),
    S("Colors", "RecTxt", Colour).Range(0, 0xFFFFFF).With(KeepsOutOfRange).Label(184, 179).On(Colours),
    S("Colors", "TijdBack", Colour).Range(0, 0xFFFFFF).With(KeepsOutOfRange).Label(183, 181).On(Colours),
    S("Colors", "TijdTxt", Colour).Range(0, 0xFFFFFF).With(KeepsOutOfRange).Label(184, 181).On(Colours),
    S("Colors", "EventBack", Colour).Range(0, 0xFFFFFF).With(KeepsOutOfRange).Label(183, 180).On(Colours),
    S("Colors", "EventTxt", Colour).Range(0, 0xFFFFFF).With(KeepsOutOfRange).Label(184, 180).On(Colours),

    // [InterPC]: six links. Read names and write names differ in capitals for several switches;
    // ports are text in the window and reach the file as a number, as trimmed text or as typed.
    S("InterPC", "networkRDS", OneMeansOn).WrittenAs("NetworkRDS").Label(214, 211).On(InterPc),
    S("InterPC", "RemoteNameRDS", Text).Label(215, 211).On(InterPc),
    S("InterPC", "RemotePortRDS", Port).Range(1, 65535).With(WrittenAsNumber).Label(216, 211).On(InterPc),
    S("InterPC", "HostPortRDS", Port).Range(1, 65535).With(LocalPort | WrittenAsNumber).Label(217, 211).On(InterPc),
    S("InterPC", "networkWEB", OneMeansOn).WrittenAs("NetworkWEB").Label(214, 212).On(InterPc),
    S("InterPC", "RemoteNameWEB", Text).Label(215, 212).On(InterPc),
    S("InterPC", "RemotePortWEB", Port).Range(1, 65535).With(WrittenAsNumber).Label(216, 212).On(InterPc),
    S("InterPC", "HostPortWEB", Port).Range(1, 65535).With(LocalPort | WrittenAsNumber).Label(217, 212).On(InterPc),
    S("InterPC", "networkLOG", OneMeansOn).WrittenAs("NetworkLOG").Label(214, 213).On(InterPc),
    S("InterPC", "RemoteNameLOG", Text).Label(215, 213).On(InterPc),
    S("InterPC", "RemotePortLOG", Port).Range(1, 65535).With(WrittenAsNumber).Label(216, 213).On(InterPc),
    S("InterPC", "HostPortLOG", Port).Range(1, 65535).With(LocalPort | WrittenAsNumber).Label(217, 213).On(InterPc),
    S("InterPC", "networkEXT", OneMeansOn).Label(214, 233).On(ExternalControl),
    S("InterPC", "RemoteNameExt", Text).Label(215, 233).On(ExternalControl),
    S("InterPC", "RemotePortEXT", Port).Range(1, 65535).Label(216, 233).On(ExternalControl),
    S("InterPC", "HostPortEXT", Port).Range(1, 65535).With(LocalPort).Label(217, 233).On(ExternalControl),
    S("InterPC", "NetworkIO", CheckState).WrittenAs("NetWorkIO").With(EmptyIsOff).Label(200, 199).On(IoInterface),
    S("InterPC", "RemoteNameIO", Text).Label(201, 199).On(IoInterface),
    S("InterPC", "RemotePortIO", Port).Range(1, 65535).With(WrittenTrimmed).Label(202, 199).On(IoInterface),
    S("InterPC", "HostPortIO", Port).Range(1, 65535).With(LocalPort).Label(203, 199).On(IoInterface),
    S("InterPC", "NetworkWD", CheckState).WrittenAs("NetWorkWD").With(EmptyIsOff).Label(200, 300).On(IoInterface),
    S("InterPC", "RemoteNameWD", Text).Label(201, 300).On(IoInterface),
    S("InterPC", "RemotePortWD", Port).Range(1, 65535).With(WrittenTrimmed).Label(202, 300).On(IoInterface),
    S("InterPC", "HostPortWD", Port).Range(1, 65535).With(LocalPort).Label(203, 300).On(IoInterface),

    // [ExtNews]: the external news and its week schedule.
    S("ExtNews", "UseExtNews", CheckState).With(EmptyIsOff).Label(235).On(ExternalNews),
    S("ExtNews", "NewsFeed", ListPosition).Range(-1, 2).Default(-1).Label(245).On(ExternalNews),
    S("ExtNews", "StopMode", CheckState).With(EmptyIsOff).Label(289).On(ExternalNews),
    Led("ExtNews", "TimeOut", EmptyDefault, 0, 999, 1, 3).Default(0).FixedLabel(msg::MaxNewsWaitCaption)
        .Unit(248).On(ExternalNews),
    Led("ExtNews", "MinNews", EmptyDefault, 0, 999, 1, 3).Default(0).Label(246).Unit(248).On(ExternalNews),
    S("ExtNews", "MA", DayString).With(BadHourKeeps).Label(237, 236).On(ExternalNews),
    S("ExtNews", "DI", DayString).With(BadHourKeeps).Label(238, 236).On(ExternalNews),
    S("ExtNews", "WO", DayString).With(BadHourKeeps).Label(239, 236).On(ExternalNews),
    S("ExtNews", "DO", DayString).With(BadHourKeeps).Label(240, 236).On(ExternalNews),
    S("ExtNews", "VR", DayString).With(BadHourKeeps).Label(241, 236).On(ExternalNews),
    S("ExtNews", "ZA", DayString).With(BadHourKeeps).Label(242, 236).On(ExternalNews),
    S("ExtNews", "ZO", DayString).With(BadHourKeeps).Label(243, 236).On(ExternalNews),

    // [Float]: the floating news dialog. Its captions are fixed texts. The capitals of B6live,
    // B6feed and B6LiveHard are what the server expects.
    S("Float", "B6AutoStart", CheckState).FixedLabel(msg::UseFloatNewsCaption).In(Window::FloatNews),
    S("Float", "B6Start", OneMeansOn).With(EmptyKeeps).FixedLabel(msg::StartAtCaption).In(Window::FloatNews),
    Led("Float", "B6Min", WholeNumber, 0, 59, 1, 2).FixedLabel(msg::MinutesName).In(Window::FloatNews),
    Led("Float", "B6Sec", WholeNumber, 0, 59, 1, 2).FixedLabel(msg::SecondsName).In(Window::FloatNews),
    S("Float", "B6Auto", CheckState).FixedLabel(msg::AutomationCaption).In(Window::FloatNews),
    S("Float", "B6AutoHard", OneMeansOn).With(EmptyKeeps)
        .FixedLabel([] { return msg::HardName(msg::AutomationCaption()); }).In(Window::FloatNews),
    S("Float", "B6live", CheckState).FixedLabel(msg::LiveCaption).In(Window::FloatNews),
    S("Float", "B6LiveHard", OneMeansOn).With(EmptyKeeps)
        .FixedLabel([] { return msg::HardName(msg::LiveCaption()); }).In(Window::FloatNews),
    S("Float", "B6feed", CheckState).FixedLabel([] { return msg::FeedCaption(1); }).In(Window::FloatNews),
    S("Float", "B6feed2", CheckState).FixedLabel([] { return msg::FeedCaption(2); }).In(Window::FloatNews),
    S("Float", "B6feed3", CheckState).FixedLabel([] { return msg::FeedCaption(3); }).In(Window::FloatNews),
    Led("Float", "B6len", WholeNumber, 0, 999, 1, 3).FixedLabel(msg::FillUpToName).FixedUnit(msg::SecondsUnit)
        .In(Window::FloatNews),

    // [FloatTSauto] and [FloatTSlive]: the two sets of the floating time signal share their keys.
    // A time that is no 16-bit whole number reads as 0, so the other set's value never stays shown.
    Led("FloatTSauto|FloatTSlive", "PreTime", EmptyDefault, 0, 600, 1, 3).Bits16().Default(0)
        .With(FailGivesDefault).Label(321).In(Window::FloatTime),
    Led("FloatTSauto|FloatTSlive", "AfterTime", EmptyDefault, 0, 600, 1, 3).Bits16().Default(0)
        .With(FailGivesDefault).Label(322).In(Window::FloatTime),
    S("FloatTSauto|FloatTSlive", "MA", DayString).Label(326, 325).In(Window::FloatTime),
    S("FloatTSauto|FloatTSlive", "DI", DayString).Label(327, 325).In(Window::FloatTime),
    S("FloatTSauto|FloatTSlive", "WO", DayString).Label(328, 325).In(Window::FloatTime),
    S("FloatTSauto|FloatTSlive", "DO", DayString).Label(329, 325).In(Window::FloatTime),
    S("FloatTSauto|FloatTSlive", "VR", DayString).Label(330, 325).In(Window::FloatTime),
    S("FloatTSauto|FloatTSlive", "ZA", DayString).Label(331, 325).In(Window::FloatTime),
    S("FloatTSauto|FloatTSlive", "ZO", DayString).Label(332, 325).In(Window::FloatTime),

    // [AudioPlayers] of the jingle pad's four columns: empty or refused reads as no card (-1).
    Card("Jingle_A_Card").With(FailGivesDefault).Label(312).In(Window::MultiJingles),
    Card("Jingle_B_Card").With(FailGivesDefault).Label(313).In(Window::MultiJingles),
    Card("Jingle_C_Card").With(FailGivesDefault).Label(314).In(Window::MultiJingles),
    Card("Jingle_D_Card").With(FailGivesDefault).Label(315).In(Window::MultiJingles),
};

// The main window's sections in the order of its read pass and its save.
constexpr Section kSections[] = {
    {File::Server, "Files", Window::Setup},
    {File::Server, "AudioPlayers", Window::Setup},
    {File::Server, "Faders", Window::Setup},
    {File::Server, "Sequencer", Window::Setup, ReadMode::SkipOnFailure,
     "Latency PanicGenre B6Start IgnoreVT B6-1 B6-2 B6-3 B1-1 B1-2 B1-3 TS_Pre_Float TS_Pre_Float_Time"},
    {File::Server, "program", Window::Setup},
    // Commercials and events are written before time signal and presentation.
    {File::Server, "Colors", Window::Setup, ReadMode::SkipOnFailure,
     "MusBack MusTxt JingBack JingTxt RecBack RecTxt EventBack EventTxt TijdBack TijdTxt PresBack PresTxt"},
    {File::Server, "InterPC", Window::Setup},
    {File::Server, "ExtNews", Window::Setup},
    {File::Server, "Float", Window::FloatNews},
    {File::Server, "FloatTSauto|FloatTSlive", Window::FloatTime, ReadMode::Strict},
    {File::Server, "AudioPlayers", Window::MultiJingles, ReadMode::Strict},
};

}  // namespace

std::span<const Key> ServerKeys() { return kKeys; }
std::span<const Section> ServerSections() { return kSections; }

}  // namespace quorvant::schema::data
