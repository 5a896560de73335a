#include "windows/shared/SaveOrReport.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QWidget>
#include <array>
#include <exception>
#include <optional>
#include <stdexcept>

#include "platform/ServiceInterfaces.h"
#include "settings/AtomicFile.h"
#include "settings/IniAccessor.h"
#include "text/Messages.h"
#include "windows/shared/BusyWait.h"
#include "windows/shared/OutsideChanges.h"
#include "windows/shared/StatusLine.h"

namespace quorvant {

namespace {

bool g_committing = false;
// Saves between their first write and their last question: a file read again meanwhile would
// change what the save is about.
int g_saving = 0;

// The field that shows a text holding `character`, named as the user sees it: for a value that
// cannot be stored, the key alone does not tell the operator where to look.
QString FieldShowing(QWidget* window, const QString& character) {
    if (character.isEmpty()) return {};
    for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
        if (!box->text().contains(character)) continue;
        QString name = box->accessibleName();
        if (name.isEmpty())
            for (QLabel* label : window->findChildren<QLabel*>())
                if (label->buddy() == box || (box->parentWidget() && label->buddy() == box->parentWidget()))
                    name = label->text().remove(u'&');
        if (name.isEmpty()) name = box->toolTip();
        if (name.isEmpty()) name = box->objectName();
        return name;
    }
    return {};
}

}  // namespace

WindowSave::WindowSave(QWidget* window, ErrorReporter& errors, StatusLine* status)
    : window_(window), errors_(errors), status_(status) {
    // A notice belongs to the save before; the history speaks again during this one if it must.
    if (status_) status_->ShowNotice({});
}

bool WindowSave::File(IniAccessor& ini, const std::function<void()>& writes,
                      const std::function<void()>& beforeReport) {
    const QString name = QFileInfo(ini.File()).fileName();
    ++g_saving;
    const auto saving = qScopeGuard([] { --g_saving; });
    QString message;
    QString reason;
    ChangedOnDisk changed = ChangedOnDisk::Refuse;
    for (;;) {
        try {
            // A save started from a save's wait (never by the user: input waits) would share the
            // engine's state with the commit under way.
            if (g_committing) throw std::logic_error("save during a save");
            // A save that writes puts a new file in place (another stamp); one that finds nothing to
            // change leaves the file alone.
            const FileStamp before = StampOf(ini.File());
            {
                IniSave save(ini);
                writes();
                g_committing = true;
                const auto done = qScopeGuard([] { g_committing = false; });
                BusyWait busy(status_);
                busy.Run([&] { save.Commit(changed); });
            }
            saved_ << name;
            if (StampOf(ini.File()) != before) rewritten_ << name;
            if (OutsideChanges* watch = OutsideChanges::Of(window_))
                watch->Saved(ini.File(), changed == ChangedOnDisk::KeepTheirs);
            return true;
        } catch (const IniError& error) {
            reason = msg::FailureReason(error);
            if (error.Failure() == IniFailure::ChangedElsewhere && changed == ChangedOnDisk::Refuse) {
                const int choice =
                    errors_.Choose(window_, window_->windowTitle(), msg::ChangedElsewhereQuestion(error),
                                   {msg::KeepMineCaption(), msg::OverwriteAllCaption(), msg::CancelCaption()});
                if (choice != 0 && choice != 1) {
                    // As after a failed save: the window shows again what it holds.
                    failures_ << msg::FileAndReason(name, reason);
                    if (beforeReport) beforeReport();
                    return false;
                }
                changed = choice == 0 ? ChangedOnDisk::KeepTheirs : ChangedOnDisk::Overwrite;
                continue;
            }
            message = msg::NotSaved(error.File(), reason);
            if (error.Failure() == IniFailure::Unencodable) {
                const QString field = FieldShowing(window_, error.Details().character);
                if (!field.isEmpty()) message += "\n\n" + msg::InField(field);
            }
        } catch (const std::exception& error) {
            reason = QString::fromLocal8Bit(error.what());
            message = msg::NotSaved(ini.File(), reason);
        }
        break;
    }
    failures_ << msg::FileAndReason(name, reason);
    if (beforeReport) beforeReport();
    errors_.Report(window_, window_->windowTitle(), message);
    return false;
}

void WindowSave::Finish() {
    if (status_) status_->SaveEnded(saved_, rewritten_, failures_);
}

bool SaveUnderWay() { return g_committing || g_saving > 0; }

QString NotReadMessage(const QString& path) {
    IniAccessor probe;
    probe.SetFile(path);
    const std::optional<IniError> problem = probe.LoadProblem();
    return problem ? msg::NotRead(*problem) : QString();
}

bool SaveOrReport(QWidget* window, ErrorReporter& errors, IniAccessor& ini, const std::function<void()>& writes,
                  const std::function<void()>& beforeReport, StatusLine* status) {
    WindowSave save(window, errors, status);
    const bool saved = save.File(ini, writes, beforeReport);
    save.Finish();
    return saved;
}

}  // namespace quorvant
