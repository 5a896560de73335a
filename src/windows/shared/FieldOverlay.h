#pragma once

// A drawing over a field that lets every click through and follows the field: the search's
// highlight of a found field, and the marker of a field that differs from its default.

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
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Follow();

    QPointer<QWidget> field_;
    Kind kind_;
};

// Moves the focus to a field, or to the first child of it that takes the focus (a week grid).
void FocusField(QWidget* field);

}  // namespace quorvant
