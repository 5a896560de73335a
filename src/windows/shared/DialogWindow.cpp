#include "windows/shared/DialogWindow.h"

#include <QKeyEvent>

namespace quorvant {

DialogWindow::DialogWindow(QWidget* parent) : QWidget(parent, Qt::Window) { setAttribute(Qt::WA_DeleteOnClose); }

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    // Reaches the window only when no control took it: a list's open editor or a popup keeps Esc.
    if (event->matches(QKeySequence::Cancel)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void BringToFront(QWidget* window) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace quorvant
