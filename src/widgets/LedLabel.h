#pragma once

#include <QLabel>

namespace quorvant {

// LED text field: a fixed number of characters in yellow on black.
class LedLabel : public QLabel {
    Q_OBJECT

public:
    explicit LedLabel(int characters = 27, QWidget* parent = nullptr);
    void SetCaption(const QString& caption);
    QString Caption() const { return text(); }
    int Characters() const { return characters_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    int characters_;
};

}  // namespace quorvant
