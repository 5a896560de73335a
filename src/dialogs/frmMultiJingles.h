#pragma once

#include <QWidget>

#include "platform/Services.h"

namespace quorvant {

// Sound cards of the jingle pad's four columns ([AudioPlayers] Jingle_A_Card..Jingle_D_Card).
// A separate, non-modal window; the opener keeps one instance and only raises it while it is open.
class frmMultiJingles : public QWidget {
    Q_OBJECT

public:
    frmMultiJingles(const QString& programFolder, const Services& services, QWidget* parent = nullptr);
};

}  // namespace quorvant
