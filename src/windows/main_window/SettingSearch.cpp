#include "windows/main_window/SettingSearch.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QStandardItemModel>
#include <algorithm>

#include "text/Messages.h"

namespace quorvant {

namespace {

QString Folded(QString text) { return text.remove(u'&').toCaseFolded().simplified(); }

bool StartsWord(const QString& text, qsizetype at) { return at == 0 || !text.at(at - 1).isLetterOrNumber(); }

// How well one word (or the whole query) fits an entry; 0: not at all.
int Score(const SearchEntry& entry, const QString& word) {
    const QString key = Folded(entry.key->Name());
    const QString caption = Folded(entry.caption);
    const QString section = Folded(entry.section);
    if (word == Folded(QString("[%1] %2").arg(entry.section, entry.key->Name())) ||
        word == Folded(QString("%1 %2").arg(entry.section, entry.key->Name())))
        return 1000;
    if (word == key) return 900;
    if (word == caption) return 850;
    if (key.startsWith(word)) return 700;
    if (caption.startsWith(word)) return 650;
    for (qsizetype at = caption.indexOf(word); at >= 0; at = caption.indexOf(word, at + 1))
        if (StartsWord(caption, at)) return 600;
    if (key.contains(word)) return 500;
    if (caption.contains(word)) return 450;
    if (word == section) return 400;
    if (section.contains(word)) return 300;
    if (Folded(entry.page).contains(word)) return 200;
    const QString value = Folded(entry.value);
    if (value == word) return 150;
    if (!value.isEmpty() && value.contains(word)) return 100;
    return 0;
}

}  // namespace

QList<SearchEntry> Ranked(QList<SearchEntry> entries, const QString& query) {
    const QString whole = Folded(query);
    if (whole.isEmpty()) return {};
    const QStringList words = whole.split(u' ', Qt::SkipEmptyParts);
    QList<SearchEntry> found;
    for (SearchEntry& entry : entries) {
        entry.score = Score(entry, whole);
        if (!entry.score && words.size() > 1) {
            // Every word somewhere; the weakest word says how good the match is.
            int weakest = 1000;
            for (const QString& word : words) weakest = std::min(weakest, Score(entry, word));
            entry.score = weakest / 2;
        }
        if (entry.score) found << entry;
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const SearchEntry& a, const SearchEntry& b) { return a.score > b.score; });
    return found;
}

SettingSearch::SettingSearch(QWidget* parent, std::function<QList<SearchEntry>()> entries,
                             std::function<void(const SearchEntry&)> go)
    : QLineEdit(parent), entries_(std::move(entries)), go_(std::move(go)) {
    setObjectName("txtSearch");
    setPlaceholderText(msg::SearchPlaceholder());
    setAccessibleName(msg::SearchPlaceholder());
    // No clear button: the style's icon for it is a theme lookup that costs a sixth of the start.
    // Esc empties the field.
    connect(this, &QLineEdit::textChanged, this, &SettingSearch::Search);
}

QCompleter* SettingSearch::Completer() {
    // Made at the first search, not at start-up.
    if (completer_) return completer_;
    model_ = new QStandardItemModel(this);
    // The completer only shows the list and carries the keys into it; the text stays what the user
    // typed (it is not set as the field's completer, which would put the chosen row in).
    completer_ = new QCompleter(model_, this);
    completer_->setWidget(this);
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setMaxVisibleItems(12);
    completer_->popup()->setObjectName("lstSearchResults");
    completer_->popup()->setAccessibleName(msg::SearchResultsName());
    connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) { GoTo(index.row()); });
    return completer_;
}

SettingSearch::~SettingSearch() {
    for (const QPointer<FieldOverlay>& highlight : std::as_const(highlights_)) delete highlight.data();
}

QAbstractItemView* SettingSearch::List() const { return completer_ ? completer_->popup() : nullptr; }

QList<QWidget*> SettingSearch::Highlighted() const {
    QList<QWidget*> fields;
    for (const QPointer<FieldOverlay>& highlight : highlights_)
        if (highlight) fields << highlight->Field();
    return fields;
}

void SettingSearch::Search(const QString& text) {
    for (const QPointer<FieldOverlay>& highlight : std::as_const(highlights_)) delete highlight.data();
    highlights_.clear();
    results_ = Ranked(entries_(), text);
    Completer();
    model_->clear();
    for (const SearchEntry& entry : std::as_const(results_)) {
        model_->appendRow(new QStandardItem(msg::SearchResult(
            entry.caption, entry.page, QString("[%1] %2").arg(entry.section, entry.key->Name()), entry.value)));
        if (entry.field && !Highlighted().contains(entry.field))
            highlights_ << new FieldOverlay(entry.field, FieldOverlay::Kind::Found);
    }
    if (text.trimmed().isEmpty()) {
        List()->hide();
        return;
    }
    if (results_.isEmpty()) {
        auto* none = new QStandardItem(msg::SearchNothingFound());
        none->setFlags(Qt::ItemIsEnabled);
        model_->appendRow(none);
    }
    completer_->complete();
    // The best match is chosen, so Enter goes to it at once.
    if (!results_.isEmpty()) List()->setCurrentIndex(completer_->completionModel()->index(0, 0));
}

void SettingSearch::GoTo(int row) {
    if (row < 0 || row >= results_.size()) return;
    if (List()) List()->hide();
    go_(results_.at(row));
}

void SettingSearch::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // The list was closed with Esc: Enter still goes to the best match.
            GoTo(0);
            return;
        case Qt::Key_Down:
            if (!results_.isEmpty() && completer_) {
                completer_->complete();
                List()->setCurrentIndex(completer_->completionModel()->index(0, 0));
            }
            return;
        case Qt::Key_Escape:
            // Esc empties the search (and its highlights); it never leaves the window.
            if (!text().isEmpty()) {
                clear();
                return;
            }
            break;
        default:
            break;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace quorvant
