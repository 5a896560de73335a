#pragma once

#include <QWidget>

#include "platform/Services.h"

namespace quorvant {

// The floating time signal: the Automaat and Live sets of [FloatTSauto] and [FloatTSlive].
// A separate, non-modal window; the opener keeps one instance and only raises it while it is open.
class frmFloatTime : public QWidget {
    Q_OBJECT

public:
    frmFloatTime(const QString& programFolder, const Services& services, QWidget* parent = nullptr);
};

}  // namespace quorvant
