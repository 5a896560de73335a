#include "widgets/Icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

namespace quorvant {

namespace {
// A transparent square drawn on in a 32 x 32 design grid, whatever its real size.
template <class Draw>
QPixmap Picture(int size, Draw draw) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    return pixmap;
}

// A picture drawn at the size it is asked for when it is first asked, and kept: a button or a tab
// shows one size of it, and drawing each size a window might ask for made up much of the icons'
// share of the start.
class DrawnIcon : public QIconEngine {
public:
    explicit DrawnIcon(void (*draw)(QPainter&)) : draw_(draw) {}

    QIconEngine* clone() const override { return new DrawnIcon(*this); }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = qMin(size.width(), size.height());
        return {side, side};
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QSize square = actualSize(size, mode, state);
        for (const Drawn& drawn : std::as_const(drawn_))
            if (drawn.size == square && drawn.mode == mode) return drawn.picture;
        QPixmap picture = Picture(square.width(), draw_);
        // Dimmed (a disabled button) and the like as the style makes them of any picture.
        if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            picture = QApplication::style()->generatedIconPixmap(mode, picture, &option);
        }
        drawn_.append({square, mode, picture});
        return picture;
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

private:
    struct Drawn {
        QSize size;
        QIcon::Mode mode;
        QPixmap picture;
    };
    void (*draw_)(QPainter&);
    QList<Drawn> drawn_;
};

void DrawSave(QPainter& p) {
    // A diskette: body, shutter and label.
    p.setPen(QPen(QColor(20, 40, 90), 1.5));
    p.setBrush(QColor(45, 95, 180));
    p.drawRoundedRect(QRectF(3, 3, 26, 26), 2, 2);
    p.setBrush(QColor(220, 225, 235));
    p.drawRect(QRectF(9, 4, 14, 9));
    p.setBrush(QColor(45, 95, 180));
    p.drawRect(QRectF(18, 5.5, 3, 6));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 17, 18, 10));
}

void DrawLeave(QPainter& p) {
    // An open door with an arrow leaving it.
    p.setPen(QPen(QColor(90, 50, 20), 1.5));
    p.setBrush(QColor(170, 110, 60));
    p.drawRect(QRectF(4, 3, 14, 26));
    p.setPen(QPen(QColor(170, 20, 20), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(13, 16), QPointF(28, 16));
    QPainterPath head;
    head.moveTo(23, 10);
    head.lineTo(29, 16);
    head.lineTo(23, 22);
    p.setBrush(Qt::NoBrush);
    p.drawPath(head);
}
void DrawFloatNews(QPainter& p) {
    // A news sheet lifted off a block, with the arrow that lifts it.
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.setBrush(QColor(200, 205, 215));
    p.drawRect(QRectF(4, 20, 24, 8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 3, 18, 14));
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    for (int y : {7, 10, 13}) p.drawLine(QPointF(11, y), QPointF(23, y));
    p.setPen(QPen(QColor(30, 110, 200), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 17), QPointF(4, 9));
    p.drawLine(QPointF(4, 9), QPointF(1.5, 12));
    p.drawLine(QPointF(4, 9), QPointF(6.5, 12));
}
void DrawHistory(QPainter& p) {
    // A clock face at a quarter to, with an arrow running back round it.
    p.setPen(QPen(QColor(40, 60, 90), 1.5));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(17, 16), 11, 11);
    p.setPen(QPen(QColor(40, 60, 90), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17, 16), QPointF(17, 9));
    p.drawLine(QPointF(17, 16), QPointF(12, 16));
    p.setPen(QPen(QColor(30, 110, 200), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2, 2, 28, 28), 100 * 16, 110 * 16);
    QPainterPath head;
    head.moveTo(1, 12);
    head.lineTo(4.5, 19);
    head.lineTo(9, 13);
    p.setBrush(QColor(30, 110, 200));
    p.drawPath(head);
}
void DrawWarning(QPainter& p) {
    // A yellow triangle with a dark edge, and a dark exclamation mark in it.
    QPainterPath triangle;
    triangle.moveTo(16, 2.5);
    triangle.lineTo(30.5, 28.5);
    triangle.lineTo(1.5, 28.5);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(90, 70, 0), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(250, 200, 30));
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    p.drawRoundedRect(QRectF(14.2, 10, 3.6, 11), 1.5, 1.5);
    p.drawEllipse(QPointF(16, 24.5), 2, 2);
}
}  // namespace

QIcon WarningIcon() { return QIcon(new DrawnIcon(DrawWarning)); }

QIcon HistoryIcon() { return QIcon(new DrawnIcon(DrawHistory)); }

QIcon FloatNewsIcon() { return QIcon(new DrawnIcon(DrawFloatNews)); }

QIcon IconResource(int id) {
    const QString themeName = id == 103 ? QStringLiteral("document-save") : QStringLiteral("application-exit");
    // Without a desktop theme Qt has only the bare fallback theme, which holds no action icons:
    // asking it reads its whole index (a sixth of the program's start) to find nothing.
    if (QIcon::themeName() != QLatin1String("hicolor") && QIcon::hasThemeIcon(themeName)) return QIcon::fromTheme(themeName);
    return QIcon(new DrawnIcon(id == 103 ? DrawSave : DrawLeave));
}

}  // namespace quorvant
