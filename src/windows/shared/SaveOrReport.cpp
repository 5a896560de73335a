#include "windows/shared/SaveOrReport.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <exception>

#include "platform/ServiceInterfaces.h"
#include "settings/IniAccessor.h"
#include "text/Messages.h"
#include "windows/shared/BusyWait.h"

namespace quorvant {

namespace {

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

bool SaveOrReport(QWidget* window, ErrorReporter& errors, IniAccessor& ini, const std::function<void()>& writes,
                  const std::function<void()>& beforeReport) {
    QString message;
    bool overwriteChanged = false;
    for (;;) {
        try {
            const BusyWait busy;  // waiting for another program's lock must not freeze the windows
            IniSave save(ini);
            writes();
            save.Commit(overwriteChanged);
            return true;
        } catch (const IniError& error) {
            if (error.Failure() == IniFailure::ChangedElsewhere && !overwriteChanged) {
                if (!errors.Ask(window, window->windowTitle(), msg::ChangedElsewhereQuestion(error),
                                msg::SaveAnywayCaption())) {
                    // As after a failed save: the window shows again what it holds.
                    if (beforeReport) beforeReport();
                    return false;
                }
                overwriteChanged = true;
                continue;
            }
            message = msg::NotSaved(error.File(), msg::FailureReason(error));
            if (error.Failure() == IniFailure::Unencodable) {
                const QString field = FieldShowing(window, error.Details().character);
                if (!field.isEmpty()) message += "\n\n" + msg::InField(field);
            }
        } catch (const std::exception& error) {
            message = msg::NotSaved(ini.File(), QString::fromLocal8Bit(error.what()));
        }
        break;
    }
    if (beforeReport) beforeReport();
    errors.Report(window, window->windowTitle(), message);
    return false;
}

}  // namespace quorvant
