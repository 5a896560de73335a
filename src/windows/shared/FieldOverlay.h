#pragma once

// A drawing over a field that lets every click through and follows the field: the search's
// highlight of a found field, the marker of a field that differs from its default, and (a kind of
// its own) the checks' mark.

#include <QMargins>
#include <QPointer>
#include <QWidget>

namespace quorvant {

class FieldOverlay : public QWidget {
public:
    enum class Kind {
        Found,       // a frame and a light fill in the selection colour
        NotDefault,  // a bar down the field's left edge
    };
    FieldOverlay(QWidget* field, Kind kind);
    ~FieldOverlay() override;

    QWidget* Field() const { return field_; }

protected:
    // Another drawing, named `name`, that reaches `reach` beyond the field on each side; it paints
    // itself.
    FieldOverlay(QWidget* field, const QString& name, QMargins reach);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Follow();

    QPointer<QWidget> field_;
    QMargins reach_;
    Kind kind_ = Kind::Found;
};

// Moves the focus to a field, or to the first child of it that takes the focus (a week grid).
void FocusField(QWidget* field);

}  // namespace quorvant
