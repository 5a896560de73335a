#pragma once

#include <QList>
#include <QString>
#include <array>

#include "platform/ServiceInterfaces.h"
#include "settings/KeyTable.h"

class QWidget;
class QVBoxLayout;

namespace quorvant {

class frmSetup;

// What the pieces of the main window share: where the program lives, the platform services, the
// tab pages to put their frames on, and the DatabasePath value of the read pass.
struct SetupContext {
    QString programFolder;
    Services services;
    frmSetup* window = nullptr;
    std::array<QWidget*, 13> tabs{};
    // Set once by the read pass; editing the box later does not move where this run looks.
    QString databasePath;

    QVBoxLayout* TabLayout(int tab) const;
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
