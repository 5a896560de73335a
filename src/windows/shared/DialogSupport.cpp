#include "windows/shared/DialogSupport.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "widgets/WeekHourGrid.h"

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

void AddSaveShortcut(QWidget* window, QPushButton* save) {
    auto* shortcut = new QShortcut(QKeySequence::Save, window);
    QObject::connect(shortcut, &QShortcut::activated, save, [save] {
        if (save->isEnabled() && save->isVisible()) save->click();
    });
}

void PutButtonsLast(QWidget* window, std::initializer_list<QWidget*> buttons) {
    // The last widget of the chain that is not one of the buttons.
    QWidget* last = nullptr;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        if (std::find(buttons.begin(), buttons.end(), w) == buttons.end() && w->window() == window) last = w;
    if (!last) return;
    for (QWidget* button : buttons) {
        QWidget::setTabOrder(last, button);
        last = button;
    }
}

}  // namespace quorvant
