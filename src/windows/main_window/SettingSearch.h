#pragma once

// The search field above the main window's pages: it finds a setting by its caption, its page, its
// section or key name, or its value, in the main window and in the four dialogs, lists what it
// found best first and goes to the chosen one's field.

#include <QLineEdit>
#include <QList>
#include <QPointer>
#include <QString>
#include <functional>

#include "schema/KeySchema.h"
#include "windows/shared/FieldOverlay.h"

class QCompleter;
class QStandardItemModel;
class QAbstractItemView;

namespace quorvant {

// One place a key's value is shown: a key of the main window, or of a dialog in one of its sections.
struct SearchEntry {
    const schema::Key* key = nullptr;
    QString section;
    QString caption;
    QString page;  // the tab page, or the dialog's title
    QString value;
    QWidget* field = nullptr;  // the field that shows it now; null in a dialog that is not open
    int score = 0;             // how well it matched the last search
};

// The entries that match `query`, best first (equal ones in the order given). A query matches an
// entry when its words are all found in the caption, page, section, key name or value; the whole
// "[Section] Key" or the exact key name ranks first, the start of a caption before a part of one.
QList<SearchEntry> Ranked(QList<SearchEntry> entries, const QString& query);

class SettingSearch : public QLineEdit {
    Q_OBJECT

public:
    // `entries`: every place a key is shown, asked anew for each search; `go`: shows an entry's
    // field and gives it the focus.
    SettingSearch(QWidget* parent, std::function<QList<SearchEntry>()> entries,
                  std::function<void(const SearchEntry&)> go);
    ~SettingSearch() override;

    // What the last search found, in the list's order.
    const QList<SearchEntry>& Results() const { return results_; }
    QAbstractItemView* List() const;
    QList<QWidget*> Highlighted() const;
    // Goes to the result at `row` of the list.
    void GoTo(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Search(const QString& text);
    QCompleter* Completer();

    std::function<QList<SearchEntry>()> entries_;
    std::function<void(const SearchEntry&)> go_;
    QCompleter* completer_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QList<SearchEntry> results_;
    QList<QPointer<FieldOverlay>> highlights_;
};

}  // namespace quorvant
