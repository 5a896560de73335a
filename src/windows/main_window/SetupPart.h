#pragma once

#include <QList>
#include <QString>
#include <array>

#include "platform/ServiceInterfaces.h"
#include "settings/KeyTable.h"

class QTabWidget;
class QWidget;
class QVBoxLayout;

namespace quorvant {

// The main window's tab pages, by the caption each gets from the text table (texts 104..116).
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
};
constexpr int kTabs = 13;

// What the pieces of the main window share: where the program lives, the platform services, the
// window (parent of dialogs and messages), its tab pages, and the DatabasePath value of the read pass.
struct SetupContext {
    QString programFolder;
    Services services;
    QWidget* window = nullptr;
    QTabWidget* tabSetup = nullptr;
    std::array<QWidget*, kTabs> tabs{};
    // Set once by the read pass; editing the box later does not move where this run looks.
    QString databasePath;

    QVBoxLayout* TabLayout(Tab tab) const;
    void ShowTab(Tab tab) const;
};

// One settings group of the main window: its controls on one or more tab pages, its texts, and
// its keys declared once for the read pass and the save.
class SetupPart {
public:
    explicit SetupPart(SetupContext& context) : context_(context) {}
    virtual ~SetupPart() = default;
    SetupPart(const SetupPart&) = delete;
    SetupPart& operator=(const SetupPart&) = delete;

    virtual void LaadScherm() {}
    // The part's keys, per section, in read order (see SectionTable for the write order).
    const QList<SectionTable>& Tables() const { return tables_; }
    // Non-empty: the save is refused before anything is written, with this message.
    virtual QString RefuseSave() { return {}; }

protected:
    SetupContext& context_;
    QList<SectionTable> tables_;
};

}  // namespace quorvant
