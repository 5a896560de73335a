#pragma once

#include <QWidget>

#include "platform/Services.h"

namespace quorvant {

// The floating news block, server.ini [Float].
// A separate, non-modal window; the opener keeps one instance and only raises it while it is open.
class frmFloatNews : public QWidget {
    Q_OBJECT

public:
    frmFloatNews(const QString& programFolder, const Services& services, QWidget* parent = nullptr);
};

}  // namespace quorvant
