#pragma once

// The buttons at the foot of every settings window: pictures with words for screen readers, the
// row they stand in, Ctrl+S, and their place at the end of the Tab order.

#include <QString>
#include <initializer_list>

class QBoxLayout;
class QHBoxLayout;
class QIcon;
class QPushButton;
class QWidget;

namespace quorvant {

// A captionless picture button: room for a 32×32 picture.
QPushButton* MakePictureButton(const QString& objectName, QWidget* parent);

// The picture and the words for it: shown as tool tip and read by screen readers.
void SetPicture(QPushButton* button, const QIcon& icon, const QString& words);

// A dialog's only button: a picture button centred under the controls.
QPushButton* AddOnlyButton(QBoxLayout* layout, const QString& objectName, const QIcon& icon, const QString& words,
                           QWidget* parent);

// The window's button row: the buttons side by side at the right.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);

// Ctrl+S presses the window's save button (while it can be pressed).
void AddSaveShortcut(QWidget* window, QPushButton* save);

// Moves the buttons to the end of the window's Tab order, in the order given: the window's own
// controls first, then save, then leave.
void PutButtonsLast(QWidget* window, std::initializer_list<QWidget*> buttons);

}  // namespace quorvant
