#pragma once

// What the next save of a window changes in its files, before it is pressed: the values the
// operator edited, and those the save writes otherwise than the file holds although nobody
// touched them (a word in a number field becomes 0). Every key is still written on every save;
// this only shows which of them come out different.

#include <QList>
#include <QString>
#include <functional>

#include "binding/Binding.h"
#include "windows/shared/DialogWindow.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace quorvant {

class EditState;
class StatusLine;

struct SavedValue {
    QString file;
    QString section;
    QString key;
    QString caption;
    QString page;
    QString stored;   // as the file holds it
    QString written;  // as the save writes it
    QString why;
    bool edited = false;  // the operator changed it; else the save rewrites it of itself
};

struct WhatIsSaved {
    QList<SavedValue> values;  // the keys the file holds that the save changes, in the schema's order
    int missing = 0;           // keys the file lacks; the save adds them
    int Untouched() const;
};

// The changes of the next save of `files` by a window with `bindings` (in `section`, for a dialog
// showing one of a patterned set) and edit state `edits`.
WhatIsSaved NextSave(const Bindings& bindings, const QList<schema::File>& files, const QString& section,
                     const EditState& edits);

// "Wat wordt bewaard": the list, read when opened.
class frmWhatIsSaved : public DialogWindow {
    Q_OBJECT

public:
    frmWhatIsSaved(const WhatIsSaved& next, QWidget* parent);

    QLabel* lblIntro = nullptr;
    QTreeWidget* lstValues = nullptr;
    QPushButton* cmdStop = nullptr;
};

// Puts the count of untouched rewrites into the window's status line and the button that opens
// the list beside it; `next` works out the next save.
QPushButton* AddWhatIsSaved(QWidget* window, StatusLine* line, std::function<WhatIsSaved()> next);

}  // namespace quorvant
