#pragma once

// Pieces every settings window builds the same way: the main window and the dialogs.

#include <QString>
#include <functional>
#include <initializer_list>

class QHBoxLayout;
class QIcon;
class QPushButton;
class QWidget;

namespace quorvant {

class ErrorReporter;
class IniAccessor;

// A captionless picture button: room for a 32×32 picture.
QPushButton* MakePictureButton(const QString& objectName, QWidget* parent);

// The picture and the words for it: shown as tool tip and read by screen readers.
void SetPicture(QPushButton* button, const QIcon& icon, const QString& words);

// The window's button row: the buttons side by side at the right.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);

// Runs `writes` as one save transaction on `ini`'s file. When the save fails nothing is written:
// `beforeReport` (if any) runs, then the user is told which file could not be saved and why.
// Returns whether the save was committed.
bool SaveOrReport(QWidget* window, ErrorReporter* errors, IniAccessor& ini, const std::function<void()>& writes,
                  const std::function<void()>& beforeReport = {});

}  // namespace quorvant
