#include "widgets/ColourPanel.h"

#include <QPainter>
#include <algorithm>

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

QColor ColourPanel::ToColor(qint32 bgr) {
    const quint32 v = quint32(bgr);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

qint32 ColourPanel::FromColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return qint32(quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16));
}

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
