#pragma once

#include <QWidget>

#include "platform/Services.h"

namespace quorvant {

// Schedule of one news item in news.ini, chosen by SelectedNewsItem when it loads.
// A separate, non-modal window; the opener keeps one instance and only raises it while it is open.
class frmIntNews : public QWidget {
    Q_OBJECT

public:
    frmIntNews(const QString& programFolder, const Services& services, QWidget* parent = nullptr);
};

}  // namespace quorvant
