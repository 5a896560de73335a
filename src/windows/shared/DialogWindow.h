#pragma once

// Opening the windows beside the main window: each a window of its own, shown once.

#include <QPointer>
#include <QWidget>

namespace quorvant {

// A dialog the program shows without blocking the windows behind it: a window of its own that is
// deleted when it closes, so the next opening builds it and reads its settings again. Esc closes
// it as the title bar does (without saving), when the control that has the focus does not use Esc.
class DialogWindow : public QWidget {
    Q_OBJECT

public:
    explicit DialogWindow(QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Shows, raises and activates a window; a minimized one comes back as it was (normal or maximized).
void BringToFront(QWidget* window);

// Opens a non-modal dialog: builds it with `build` when none is open, otherwise only brings the
// open one to the front without reading again.
template <class Dialog, class Build>
Dialog* ShowOrRaise(QPointer<Dialog>& dialog, Build build) {
    if (!dialog) dialog = build();
    BringToFront(dialog);
    return dialog;
}

}  // namespace quorvant
