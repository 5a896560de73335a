#pragma once

#include <QList>
#include <QString>
#include <array>
#include <functional>

#include "binding/Binding.h"
#include "platform/ServiceInterfaces.h"
#include "schema/KeySchema.h"
#include "windows/shared/MachineFacts.h"

class QTabWidget;
class QWidget;
class QVBoxLayout;

namespace quorvant {

// The main window's tab pages (the schema names where each key is shown).
using schema::Tab;
using schema::kTabs;

// What the pieces of the main window share: where the program lives, the platform services, the
// window (parent of dialogs and messages), its tab pages, the DatabasePath value of the read pass,
// the bindings and the machine's facts.
struct SetupContext {
    QString programFolder;
    Services services;
    QWidget* window = nullptr;
    QTabWidget* tabSetup = nullptr;
    std::array<QWidget*, kTabs> tabs{};
    // Set once by the read pass; editing the box later does not move where this run looks.
    QString databasePath;
    // Every key the window shows, bound to its control by the page that shows it.
    Bindings bindings;
    // What the platform services answered at start-up; the pages' lists and the checks read it.
    MachineFacts facts;
    // Set by the window once its checks exist: a fact that arrives later (the genre list) makes
    // them look again.
    std::function<void()> factsArrived;

    QVBoxLayout* TabLayout(Tab tab) const;
    void ShowTab(Tab tab) const;
};

// One settings group of the main window: its controls on one or more tab pages, its texts, and
// the bindings of its keys (added to the window's bindings when it is built).
class SetupPart {
public:
    explicit SetupPart(SetupContext& context) : context_(context) {}
    virtual ~SetupPart() = default;
    SetupPart(const SetupPart&) = delete;
    SetupPart& operator=(const SetupPart&) = delete;

    // The texts of the part's controls that are not the captions of its keys.
    virtual void LaadScherm() {}
    // Non-empty: the save is refused before anything is written, with this message.
    virtual QString RefuseSave() { return {}; }

protected:
    // A key of server.ini as the schema declares it.
    static const schema::Key& ServerKey(const char* section, const QString& name) {
        return schema::Find(schema::File::Server, QString::fromLatin1(section), name);
    }
    void Add(Binding binding) { context_.bindings.Add(std::move(binding)); }

    SetupContext& context_;
};

}  // namespace quorvant
