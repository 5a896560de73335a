#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <stdexcept>

#include "settings/IntWidth.h"

namespace quorvant {

// Whole-number rule: blanks around, optional sign, digits, optional "." fraction rounded half to
// even, in range for the width. Anything else (empty, blanks, "1e3", "0x10", "1,5") fails.
std::optional<qint32> WholeNumber(const QString& text, IntWidth width);

// Empty-default rule: an empty text (length zero) gives the default; otherwise the whole-number
// rule, whose failure is a failure here too (a text of blanks is not empty).
std::optional<qint32> EmptyDefault(const QString& text, qint32 defaultValue, IntWidth width);

// One-means-on rule (also the pair rule's read): on only for a number exactly equal to 1.
bool OneMeansOn(const QString& text);

// Check-state rule: 0, 1 or 2; anything else fails.
std::optional<int> CheckState(const QString& text);

// List-position rule: -1 (no selection) up to count - 1; anything else fails.
std::optional<int> ListPosition(const QString& text, int count);

// Colour rule: a 32-bit whole number 0x00BBGGRR, taken as it stands (no range beyond 32 bits).
inline std::optional<qint32> Colour(const QString& text) { return WholeNumber(text, IntWidth::Bits32); }
// A colour number as the screen's opaque 0xFFRRGGBB (the top byte is ignored), and back.
quint32 ColourToRgb(qint32 colour);
qint32 ColourFromRgb(quint32 rgb);

// The number form of the whole-number rule, of any size: whether `text` would convert but for range.
bool HasNumberForm(const QString& text);

// Removes spaces at both ends, as the settings' trim does; tabs and other characters stay.
QString TrimSpaces(const QString& text);
// Removes spaces and tabs at both ends, as the whole-number rule does around a number.
QStringView TrimSpacesAndTabs(QStringView text);

// Thrown by a read step whose value is refused; the read pass skips that step alone.
class StepFailed : public std::runtime_error {
public:
    StepFailed() : std::runtime_error("step failed") {}
};

// Returns the value or abandons the step.
template <class T>
T OrSkip(const std::optional<T>& value) {
    if (!value) throw StepFailed();
    return *value;
}

// Skip-on-failure: runs one step; a step that fails (a refused value, or a file, device or
// conversion that throws a std::exception) is abandoned alone. Anything else is no failed step
// and goes on up.
template <class F>
bool SkipOnFailure(F&& step) {
    try {
        step();
        return true;
    } catch (const StepFailed&) {
        return false;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace quorvant
