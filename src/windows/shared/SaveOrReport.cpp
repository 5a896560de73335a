#include "windows/shared/SaveOrReport.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QWidget>
#include <array>
#include <exception>
#include <memory>
#include <optional>
#include <utility>

#include "platform/ServiceInterfaces.h"
#include "settings/AtomicFile.h"
#include "settings/IniAccessor.h"
#include "text/Messages.h"
#include "windows/shared/BusyWait.h"
#include "windows/shared/OutsideChanges.h"
#include "windows/shared/StatusLine.h"

namespace quorvant {

namespace {

// A commit under way (only the holder of the save turn commits).
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

SaveTurn& SaveTurn::Hub() {
    static SaveTurn hub;
    return hub;
}

bool SaveTurn::Take() {
    if (taken_) return false;
    taken_ = true;
    emit changed(true);
    return true;
}

void SaveTurn::GiveBack() {
    taken_ = false;
    emit changed(false);
}

void DisableDuringSaves(QPushButton* button) {
    // What this save did to the button: disabled it, and moved the focus off it (Qt does so).
    struct Held {
        bool disabled = false;
        bool hadFocus = false;
        QPointer<QWidget> focusAfter;
    };
    auto held = std::make_shared<Held>();
    QObject::connect(&SaveTurn::Hub(), &SaveTurn::changed, button, [button, held](bool taken) {
        QWidget* window = button->window();
        if (taken) {
            // A button the window disabled on its own stays as it is.
            if (!button->isEnabled()) return;
            held->hadFocus = window->focusWidget() == button;
            held->disabled = true;
            button->setEnabled(false);
            held->focusAfter = window->focusWidget();
        } else if (std::exchange(held->disabled, false)) {
            button->setEnabled(true);
            // The operator who pressed it finds the focus where it was, unless it went on since.
            if (held->hadFocus && window->focusWidget() == held->focusAfter) button->setFocus(Qt::OtherFocusReason);
        }
    });
}

WindowSave::WindowSave(QWidget* window, ErrorReporter& errors, StatusLine* status)
    : turn_(SaveTurn::Hub().Take()), window_(window), errors_(errors), status_(status) {
    // A notice belongs to the save before; the history speaks again during this one if it must.
    if (turn_ && status_) status_->ShowNotice({});
}

WindowSave::~WindowSave() {
    if (turn_) SaveTurn::Hub().GiveBack();
}

bool WindowSave::File(IniAccessor& ini, const std::function<void()>& writes,
                      const std::function<void()>& beforeReport) {
    return Attempt(
        ini.File(), true,
        [&](ChangedOnDisk changed, const OffThread& offThread) {
            IniSave save(ini);
            writes();
            offThread([&](const SaveContext& context) { save.Commit(changed, context); });
        },
        beforeReport);
}

bool WindowSave::Commit(const QString& path,
                        const std::function<void(const SaveContext&, bool overwriteChanged)>& commit,
                        const std::function<void()>& beforeReport) {
    // A restore puts a whole text back: it can overwrite or leave, not merge.
    return Attempt(
        path, false,
        [&](ChangedOnDisk changed, const OffThread& offThread) {
            offThread([&](const SaveContext& context) { commit(context, changed == ChangedOnDisk::Overwrite); });
        },
        beforeReport);
}

bool WindowSave::Attempt(const QString& path, bool merges,
                         const std::function<void(ChangedOnDisk changed, const OffThread&)>& attempt,
                         const std::function<void()>& beforeReport) {
    if (!turn_) {
        // Another save runs (started by a screen reader while this window waited): not a failure
        // to tell, the window only shows again what it holds.
        if (beforeReport) beforeReport();
        return false;
    }
    const QString name = QFileInfo(path).fileName();
    ++g_saving;
    const auto saving = qScopeGuard([] { --g_saving; });
    const OffThread offThread = [this](const std::function<void(const SaveContext&)>& work) {
        // The turn lets one save at a time get here, and a save commits its files one by one.
        Q_ASSERT(!g_committing);
        g_committing = true;
        const auto done = qScopeGuard([] { g_committing = false; });
        BusyWait busy(status_);
        const SaveContext context{action_, busy.LockWaitHook()};
        busy.Run([&] { work(context); });
    };
    QString message;
    QString reason;
    ChangedOnDisk changed = ChangedOnDisk::Refuse;
    for (;;) {
        try {
            // A save that writes puts a new file in place (another stamp); one that finds nothing to
            // change leaves the file alone.
            const FileStamp before = StampOf(path);
            attempt(changed, offThread);
            saved_ << name;
            if (StampOf(path) != before) rewritten_ << name;
            if (OutsideChanges* watch = OutsideChanges::Of(window_))
                watch->Saved(path, changed == ChangedOnDisk::KeepTheirs);
            return true;
        } catch (const IniError& error) {
            reason = msg::FailureReason(error);
            if (error.Failure() == IniFailure::ChangedElsewhere && changed == ChangedOnDisk::Refuse) {
                const QStringList answers =
                    merges ? QStringList{msg::KeepMineCaption(), msg::OverwriteAllCaption(), msg::CancelCaption()}
                           : QStringList{msg::OverwriteAllCaption(), msg::CancelCaption()};
                const int choice =
                    errors_.Choose(window_, window_->windowTitle(), msg::ChangedElsewhereQuestion(error, merges), answers);
                const QString answer = choice >= 0 && choice < answers.size() ? answers[choice] : QString();
                if (answer != msg::KeepMineCaption() && answer != msg::OverwriteAllCaption()) {
                    // As after a failed save: the window shows again what it holds.
                    failures_ << msg::FileAndReason(name, reason);
                    if (beforeReport) beforeReport();
                    return false;
                }
                changed = answer == msg::KeepMineCaption() ? ChangedOnDisk::KeepTheirs : ChangedOnDisk::Overwrite;
                continue;
            }
            message = msg::NotSaved(error.File(), reason);
            if (error.Failure() == IniFailure::Unencodable) {
                const QString field = FieldShowing(window_, error.Details().character);
                if (!field.isEmpty()) message += "\n\n" + msg::InField(field);
            }
        } catch (const std::exception& error) {
            reason = QString::fromLocal8Bit(error.what());
            message = msg::NotSaved(path, reason);
        }
        break;
    }
    failures_ << msg::FileAndReason(name, reason);
    if (beforeReport) beforeReport();
    errors_.Report(window_, window_->windowTitle(), message);
    return false;
}

void WindowSave::Finish() {
    if (turn_ && status_) status_->SaveEnded(saved_, rewritten_, failures_);
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
