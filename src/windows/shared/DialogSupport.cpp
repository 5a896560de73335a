#include "windows/shared/DialogSupport.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
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

bool SaveOrReport(QWidget* window, ErrorReporter& errors, IniAccessor& ini, const std::function<void()>& writes,
                  const std::function<void()>& beforeReport) {
    QString file;
    QString reason;
    try {
        const BusyWait busy;  // waiting for another program's lock must not freeze the windows
        IniSave save(ini);
        writes();
        save.Commit();
        return true;
    } catch (const IniError& error) {
        file = error.File();
        reason = error.Reason();
    } catch (const std::exception& error) {
        file = ini.File();
        reason = QString::fromLocal8Bit(error.what());
    }
    if (beforeReport) beforeReport();
    errors.Report(window, window->windowTitle(), msg::NotSaved(file, reason));
    return false;
}

}  // namespace quorvant
