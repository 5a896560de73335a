#pragma once

#include "platform/ServiceInterfaces.h"

namespace quorvant {

// Qt's colour dialog; keeps the colour confirmed last (black at first) for the next opening.
class QtColourChooser : public ColourChooser {
public:
    void SetFlags(int flags) override { flags_ = flags; }
    qint32 CurrentColour() const override { return current_; }
    std::optional<qint32> Choose(QWidget* parent) override;

private:
    int flags_ = 0;
    qint32 current_ = 0;
};

}  // namespace quorvant
