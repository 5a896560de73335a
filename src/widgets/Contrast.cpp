#include "widgets/Contrast.h"

#include <algorithm>
#include <cmath>

namespace quorvant {

namespace {

const QColor kWarningRed(176, 0, 32);
constexpr double kLeastContrast = 4.5;

double Channel(double value) {
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * Channel(rgb.redF()) + 0.7152 * Channel(rgb.greenF()) + 0.0722 * Channel(rgb.blueF());
}

QColor Mixed(const QColor& from, const QColor& to, double share) {
    const auto mix = [share](int a, int b) { return int(std::lround(a + (b - a) * share)); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()));
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor WarningColour(const QColor& background) {
    // Towards whichever end lies farther from the background: one of them always reaches 4.5:1.
    const QColor end = ContrastRatio(Qt::white, background) > ContrastRatio(Qt::black, background) ? QColor(Qt::white)
                                                                                                     : QColor(Qt::black);
    for (int step = 0; step <= 20; ++step) {
        const QColor colour = Mixed(kWarningRed, end, step / 20.0);
        if (ContrastRatio(colour, background) >= kLeastContrast) return colour;
    }
    return end;
}

QColor SignColour(const QColor& colour) {
    return ContrastRatio(Qt::white, colour) >= ContrastRatio(Qt::black, colour) ? QColor(Qt::white) : QColor(Qt::black);
}

}  // namespace quorvant
