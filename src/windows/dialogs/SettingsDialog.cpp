#include "windows/dialogs/SettingsDialog.h"

#include <QDir>

#include "settings/PathChecks.h"
#include "windows/dialogs/frmHistory.h"
#include "windows/shared/CheckMarks.h"
#include "windows/shared/FieldHelp.h"
#include "windows/shared/HistoryNotices.h"
#include "windows/shared/OutsideChanges.h"
#include "windows/shared/SaveOrReport.h"
#include "windows/shared/StatusLine.h"
#include "windows/shared/WhatIsSaved.h"
#include "windows/shared/WindowButtons.h"

namespace quorvant {

SettingsDialog::SettingsDialog(const QString& programFolder, const Services& services, schema::File file,
                               schema::Window window, QWidget* parent)
    : DialogWindow(parent), programFolder_(programFolder), services_(services), file_(file), window_(window) {
    facts_.soundDevices = services_.waveOut->DeviceCount();
}

void SettingsDialog::ReadKeys(const Bindings::Filter& only) {
    ini_.SetFile(JoinPath(programFolder_, schema::FileName(file_)));
    bindings_.Read(ini_, file_, section_, only);
}

void SettingsDialog::WriteKeys(const Bindings::Filter& only, const QString& section) {
    bindings_.Write(ini_, file_, section.isNull() ? section_ : section, only);
}

bool SettingsDialog::SaveKeys(const std::function<void()>& writes, const std::function<void()>& beforeReport) {
    // File and section are selected again: the load's selection is not relied on.
    ini_.SetFile(JoinPath(programFolder_, schema::FileName(file_)));
    const bool saved = SaveOrReport(this, *services_.errors, ini_, writes ? writes : [this] { WriteKeys(); },
                                    beforeReport, statusLine);
    if (saved) bindings_.Wrote(file_, section_);
    return saved;
}

void SettingsDialog::AddStatus(QPushButton* save, std::initializer_list<QWidget*> buttons) {
    statusLine = AddStatusLine(this, [this] { return bindings_.Pending(file_, section_); }, save, buttons);
    const QString path = JoinPath(programFolder_, schema::FileName(file_));
    statusLine->ShowFile(QDir::toNativeSeparators(path));
    ShowHistoryNotices(statusLine, [path] { return QStringList{path}; });
    checkMarks = new CheckMarks(this, statusLine, bindings_, statusLine->Edits(), nullptr, facts_,
                                [this] { return section_; });
    statusLine->addWidget(checkMarks);
    AddWhatIsSaved(this, statusLine, [this] { return NextSave(bindings_, {file_}, section_, statusLine->Edits()); });
    new OutsideChanges(this, statusLine, {{[path] { return path; }, &ini_, [this] { ReadShown(); }}});
    fieldHelp = new FieldHelp(
        this, bindings_, statusLine, checkMarks, *services_.preferences,
        [this, path](const schema::Key& key, const QString& section) {
            ShowFieldHistory(path, section, key.Name(), services_, this);
        },
        [this] { return section_; });
    PutButtonsLast(this, buttons);
    // As the main window does: a file that could not be read or decoded is told once, at opening.
    const QString message = NotReadMessage(path);
    if (!message.isEmpty()) services_.errors->Report(this, windowTitle(), message);
}

}  // namespace quorvant
