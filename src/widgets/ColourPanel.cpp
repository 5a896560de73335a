#include "widgets/ColourPanel.h"

#include <QPainter>
#include <algorithm>

#include "settings/ValueRules.h"

namespace quorvant {

ColourPanel::ColourPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::NoFrame);
    setMinimumSize(16, 16);
}

void ColourPanel::SetCaption(const QString& caption) {
    caption_ = caption;
    setAccessibleName(caption);
    updateGeometry();
    update();
}

void ColourPanel::SetBackColour(qint32 bgr) {
    back_ = bgr;
    update();
}

void ColourPanel::SetTextColour(qint32 bgr) {
    text_ = bgr;
    update();
}

void ColourPanel::SetBold(bool bold) {
    QFont f = font();
    f.setBold(bold);
    setFont(f);
    updateGeometry();
    update();
}

void ColourPanel::SetLowered(bool lowered) {
    if (lowered) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(1);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
    update();
}

QColor ColourPanel::ToColor(qint32 bgr) { return QColor::fromRgb(ColourToRgb(bgr)); }

qint32 ColourPanel::FromColor(const QColor& color) { return ColourFromRgb(color.rgb()); }

QSize ColourPanel::sizeHint() const {
    const QFontMetrics fm(font());
    const int frame = 2 * frameWidth() + 8;
    return QSize(std::max(40, fm.horizontalAdvance(caption_) + frame), fm.height() + frame);
}

void ColourPanel::paintEvent(QPaintEvent* event) {
    {
        QPainter p(this);
        p.fillRect(contentsRect(), ToColor(back_));
        p.setPen(ToColor(text_));
        p.setFont(font());
        p.drawText(contentsRect(), Qt::AlignCenter | Qt::TextSingleLine, caption_);
    }
    QFrame::paintEvent(event);  // the bevel on top
}

}  // namespace quorvant
