#include "widgets/LedLabel.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>

namespace quorvant {

LedLabel::LedLabel(int characters, QWidget* parent) : QLabel(parent), characters_(std::max(1, characters)) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setBold(true);
    setFont(font);
    setAutoFillBackground(true);
    QPalette pal = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Window, Qt::black);
        pal.setColor(group, QPalette::WindowText,
                     group == QPalette::Disabled ? QColor(128, 128, 0) : QColor(Qt::yellow));
    }
    setPalette(pal);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setMargin(2);
}

void LedLabel::SetCaption(const QString& caption) {
    setText(caption);
    setAccessibleDescription(caption);
}

QSize LedLabel::sizeHint() const {
    const QFontMetrics fm(font());
    const int frame = 2 * (frameWidth() + margin()) + 2;
    return QSize(fm.horizontalAdvance(QString(characters_, QLatin1Char('W'))) + frame, fm.height() + frame);
}

QSize LedLabel::minimumSizeHint() const { return sizeHint(); }

}  // namespace quorvant
