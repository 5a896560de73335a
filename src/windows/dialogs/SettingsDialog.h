#pragma once

#include <QString>
#include <functional>
#include <initializer_list>

#include "binding/Binding.h"
#include "platform/ServiceInterfaces.h"
#include "settings/IniAccessor.h"
#include "windows/shared/DialogWindow.h"
#include "windows/shared/MachineFacts.h"

class QPushButton;

namespace quorvant {

class StatusLine;
class CheckMarks;
class FieldHelp;

// What the four dialogs share: one settings file of the program folder, the keys of it they bind
// (declared in the key schema), their load and save, and the status line that watches the keys.
class SettingsDialog : public DialogWindow {
    Q_OBJECT

public:
    // The window's keys, bound to its controls.
    const Bindings& KeyBindings() const { return bindings_; }
    // The section of a patterned one that the window shows; null for the schema's own.
    QString ShownSection() const { return section_; }

    StatusLine* statusLine = nullptr;  // unsaved edits or the last save
    CheckMarks* checkMarks = nullptr;  // values the server would not read as meant
    FieldHelp* fieldHelp = nullptr;    // the focused field's facts, its menu

protected:
    SettingsDialog(const QString& programFolder, const Services& services, schema::File file, schema::Window window,
                   QWidget* parent);

    // The window's key of that name in its file.
    const schema::Key& Key(const QString& name) const { return schema::Find(file_, window_, name); }
    void Add(Binding binding) { bindings_.Add(std::move(binding)); }

    // Selects the file and reads the bound keys (`only` those), in `section_` when it is not null.
    void ReadKeys(const Bindings::Filter& only = {});
    // Reads what the window shows again: the file changed on disk by another hand.
    virtual void ReadShown() { ReadKeys(); }
    // Collects the writes of the bound keys (`only` those) for the save around it, into `section`
    // when it is not null, else into `section_`.
    void WriteKeys(const Bindings::Filter& only = {}, const QString& section = {});
    // Writes the bound keys as one atomic replacement of the file. False, after telling the user
    // which file and why (and running `beforeReport` first), when nothing was written.
    bool SaveKeys(const std::function<void()>& writes = {}, const std::function<void()>& beforeReport = {});
    // The status line at the foot of the window, naming the file and watching the bound keys from
    // now on; Ctrl+S presses `save`; `buttons` come last for Tab. Called once the window has read
    // its keys: a file that could not be read or decoded is told to the user here.
    void AddStatus(QPushButton* save, std::initializer_list<QWidget*> buttons);

    QString programFolder_;
    Services services_;
    const schema::File file_;
    const schema::Window window_;
    // The section of a patterned one that the window shows; null for the schema's own.
    QString section_;
    IniAccessor ini_;
    // What the services answered: the sound cards, asked once at opening.
    MachineFacts facts_;

private:
    Bindings bindings_;
};

}  // namespace quorvant
