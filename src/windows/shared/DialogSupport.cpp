#include "windows/shared/DialogSupport.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

#include "platform/ServiceInterfaces.h"
#include "settings/IniAccessor.h"
#include "text/Messages.h"
#include "widgets/WeekHourGrid.h"
#include "windows/shared/BusyWait.h"

namespace quorvant {

DialogWindow::DialogWindow(QWidget* parent) : QWidget(parent, Qt::Window) { setAttribute(Qt::WA_DeleteOnClose); }

void BringToFront(QWidget* window) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

QPushButton* MakePictureButton(const QString& objectName, QWidget* parent) {
    auto* button = Named<QPushButton>(objectName, parent);
    button->setIconSize(QSize(32, 32));
    button->setMinimumSize(48, 44);
    return button;
}

void SetPicture(QPushButton* button, const QIcon& icon, const QString& words) {
    button->setIcon(icon);
    button->setToolTip(words);
    button->setAccessibleName(words);
}

WeekHourGrid* AddHourFrame(QBoxLayout* layout, QWidget* parent, QGroupBox*& frame) {
    frame = Named<QGroupBox>("fraUur", parent);
    auto* hours = new QVBoxLayout(frame);
    auto* grid = new WeekHourGrid({"chkI_MA", "chkI_DI", "chkI_WO", "chkI_DO", "chkI_VR", "chkI_ZA", "chkI_ZO"},
                                  "lblI_Dag", "lblI_Uur", frame);
    hours->addWidget(grid);
    layout->addWidget(frame);
    return grid;
}

QPushButton* AddOnlyButton(QBoxLayout* layout, const QString& objectName, const QIcon& icon, const QString& words,
                           QWidget* parent) {
    QPushButton* button = MakePictureButton(objectName, parent);
    SetPicture(button, icon, words);
    layout->addStretch(1);
    layout->addWidget(button, 0, Qt::AlignHCenter);
    return button;
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons) row->addWidget(button);
    return row;
}

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
