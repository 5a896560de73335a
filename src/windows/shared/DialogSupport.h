#pragma once

// Pieces every settings window builds the same way: the main window and the dialogs.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <utility>

class QBoxLayout;
class QGroupBox;
class QHBoxLayout;
class QIcon;
class QPushButton;

namespace quorvant {

class WeekHourGrid;

// A dialog the program shows without blocking the windows behind it: a window of its own that is
// deleted when it closes, so the next opening builds it and reads its settings again.
class DialogWindow : public QWidget {
    Q_OBJECT

public:
    explicit DialogWindow(QWidget* parent);
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

// A control of type W with the object name `name`, built from the remaining arguments (as W's
// constructor takes them: caption and/or parent).
template <class W, class... Args>
W* Named(const QString& name, Args&&... args) {
    auto* widget = new W(std::forward<Args>(args)...);
    widget->setObjectName(name);
    return widget;
}

// A captionless picture button: room for a 32×32 picture.
QPushButton* MakePictureButton(const QString& objectName, QWidget* parent);

// The picture and the words for it: shown as tool tip and read by screen readers.
void SetPicture(QPushButton* button, const QIcon& icon, const QString& words);

// The dialogs' hour frame "fraUur" at the end of `layout`: a week-hour grid whose boxes are
// chkI_MA..chkI_ZO and whose row and column buttons are lblI_Dag and lblI_Uur.
WeekHourGrid* AddHourFrame(QBoxLayout* layout, QWidget* parent, QGroupBox*& frame);

// A dialog's only button: a picture button centred under the controls.
QPushButton* AddOnlyButton(QBoxLayout* layout, const QString& objectName, const QIcon& icon, const QString& words,
                           QWidget* parent);

// Ctrl+S presses the window's save button (while it can be pressed).
void AddSaveShortcut(QWidget* window, QPushButton* save);

// Moves the buttons to the end of the window's Tab order, in the order given: the window's own
// controls first, then save, then leave.
void PutButtonsLast(QWidget* window, std::initializer_list<QWidget*> buttons);

// The window's button row: the buttons side by side at the right.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);

}  // namespace quorvant
