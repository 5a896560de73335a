#include "text/TextTable.h"

#include <array>

#include "text/LanguageFile.h"

namespace quorvant {

namespace {
std::array<QString, kTextSlots>& Table() {
    static std::array<QString, kTextSlots> table;
    return table;
}
}  // namespace

QString Text(int id) {
    if (id < 0 || id >= kTextSlots) return {};
    return Table()[id];
}

QString TextOr(int id, const QString& fallback) {
    const QString text = Text(id);
    return text.isEmpty() ? fallback : text;
}

void ClearTexts() {
    for (QString& slot : Table()) slot.clear();
}

void LoadBuiltInTexts() {
    ReadBuiltIn([](int id, const QString& text) { Table()[id] = text; });
}

void LaadTaal(const QString& programFolder) {
    ReadLanguageFile(programFolder, [](int id, const QString& text) { Table()[id] = text; });
}

}  // namespace quorvant
