#include "windows/shared/WhatIsSaved.h"

#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "binding/EditState.h"
#include "schema/KeyChecks.h"
#include "schema/KeySchema.h"
#include "text/Messages.h"
#include "windows/shared/Controls.h"
#include "windows/shared/StatusLine.h"
#include "windows/shared/WindowButtons.h"

namespace quorvant {

namespace {

QString Why(const SaveChange& change) {
    const QString stored = change.stored.value_or(QString());
    if (stored.trimmed().isEmpty()) return msg::RewrittenEmpty(change.written);
    if (change.problem == schema::Problem::NotRead)
        return msg::RewrittenUnreadable(schema::RuleWords(*change.key, Language::Dutch), change.written);
    if (change.problem == schema::Problem::OutOfLimits)
        return msg::RewrittenOutOfLimits(
            QString("%1 .. %2").arg(change.key->limits.lowest).arg(change.key->limits.highest), change.written);
    return msg::RewrittenOtherwise(change.written);
}

}  // namespace

int WhatIsSaved::Untouched() const {
    int count = 0;
    for (const SavedValue& value : values) count += value.edited ? 0 : 1;
    return count;
}

WhatIsSaved NextSave(const Bindings& bindings, const QList<schema::File>& files, const QString& section,
                     const EditState& edits) {
    // What the window would have written right after its read: a value that differs from it now
    // is the operator's. Made only when the save changes a value the file holds.
    QHash<QString, QString> baseline;
    const auto readAs = [&](const QString& name) {
        if (baseline.isEmpty())
            for (const PendingValue& value : edits.Baseline())
                baseline.insert(value.file + u'\n' + value.section.toLower() + u'\n' + value.key.toLower(), value.text);
        return baseline.constFind(name);
    };
    WhatIsSaved next;
    for (schema::File file : files)
        for (const SaveChange& change : bindings.Changes(file, section)) {
            if (!change.stored) {
                ++next.missing;
                continue;
            }
            const QString key = change.key->WriteName();
            SavedValue value{change.file, change.section, key, {}, {}, *change.stored, change.written, {}, false};
            value.caption = schema::CaptionText(*change.key);
            value.page = schema::PageText(*change.key);
            const auto read = readAs(change.file + u'\n' + change.section.toLower() + u'\n' + key.toLower());
            value.edited = read != baseline.cend() && *read != change.written;
            value.why = value.edited ? msg::EditedHere() : Why(change);
            next.values.append(value);
        }
    return next;
}

frmWhatIsSaved::frmWhatIsSaved(const WhatIsSaved& next, QWidget* parent) : DialogWindow(parent) {
    setObjectName("frmWhatIsSaved");
    setWindowTitle(msg::WhatIsSavedTitle());
    auto* layout = new QVBoxLayout(this);
    QString intro = next.values.isEmpty() ? msg::NothingToSave() : msg::WhatIsSavedIntro(int(next.values.size()));
    if (next.missing > 0) intro += u' ' + msg::MissingKeysAdded(next.missing);
    lblIntro = Named<QLabel>("lblIntro", intro, this);
    lblIntro->setWordWrap(true);
    layout->addWidget(lblIntro);
    lstValues = Named<QTreeWidget>("lstValues", this);
    lstValues->setRootIsDecorated(false);
    lstValues->setUniformRowHeights(true);
    lstValues->setAllColumnsShowFocus(true);
    lstValues->setHeaderLabels(msg::WhatIsSavedColumns());
    lstValues->setAccessibleName(msg::WhatIsSavedTitle());
    lblIntro->setBuddy(lstValues);
    for (const SavedValue& value : next.values)
        new QTreeWidgetItem(lstValues, {value.file, value.section, value.key, value.caption, value.page,
                                        Printable(value.stored), Printable(value.written), value.why});
    lstValues->header()->resizeSections(QHeaderView::ResizeToContents);
    layout->addWidget(lstValues);
    cmdStop = Named<QPushButton>("cmdStop", msg::LeaveWindowCaption(), this);
    connect(cmdStop, &QPushButton::clicked, this, &QWidget::close);
    layout->addLayout(ButtonRow({cmdStop}));
    resize(1100, 360);
}

QPushButton* AddWhatIsSaved(QWidget* window, StatusLine* line, std::function<WhatIsSaved()> next) {
    auto* button = Named<QPushButton>("cmdWhatIsSaved", msg::WhatIsSavedCaption(), line);
    button->setAccessibleName(QString(msg::WhatIsSavedCaption()).remove(u'&'));
    line->addWidget(button);
    auto shown = std::make_shared<QPointer<frmWhatIsSaved>>();
    QObject::connect(button, &QPushButton::clicked, window, [window, next, shown] {
        // Worked out anew at each opening: the list is what the save would write now.
        delete shown->data();
        *shown = ShowOrRaise(*shown, [&] { return new frmWhatIsSaved(next(), window); });
    });
    // Shown while the next save changes something in the files.
    line->CountRewrites([next, button] {
        const WhatIsSaved now = next();
        button->setVisible(!now.values.isEmpty() || now.missing > 0);
        return now.Untouched();
    });
    return button;
}

}  // namespace quorvant
