#pragma once

#include "windows/main_window/SetupPart.h"

class QComboBox;
class QLabel;

namespace quorvant {

class LedSpin;
class StateCheckBox;
struct GenreList;

// Fader, presentation and sequencer timing and the panic-track genre (tab 2).
class AutomationTiming : public SetupPart {
public:
    explicit AutomationTiming(SetupContext& context);
    // Start-up: asks for the genre list of data.mdb; the list fills when the answer arrives.
    void LoadGenres();

    // Fills a genre list without touching what its text shows (the stored PanicGenre or nothing),
    // and without a notice from the list or its text box. An error leaves the list empty and says
    // why in its tool tip.
    static void FillGenres(QComboBox* list, const GenreList& answer);
    // Why the answer holds no list, in words; empty for a list.
    static QString GenreFailureText(const GenreList& answer);

    LedSpin* ledPresLevel = nullptr;
    LedSpin* ledPresSpeed = nullptr;
    LedSpin* ledMixSpeed = nullptr;
    LedSpin* ledFaderStap = nullptr;
    LedSpin* ledIntroComp = nullptr;
    LedSpin* ledOuttroComp = nullptr;
    LedSpin* ledLatency = nullptr;
    LedSpin* ledT6Blok = nullptr;

    StateCheckBox* chkIgnoreVT = nullptr;
    QComboBox* cobPanic = nullptr;
    // Beside cobPanic: "Genres worden gelezen…" while data.mdb is read, the reason after a failure.
    QLabel* lblGenres = nullptr;

private:
    // Empty warning: the list is there, the label goes. Otherwise the warning shows beside the list
    // and as its tool tip.
    static void ShowGenreState(QLabel* state, QComboBox* list, const QString& warning);
};

}  // namespace quorvant
