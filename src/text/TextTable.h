#pragma once

#include <QString>

namespace quorvant {

// The program-wide UI text table: slots 0..450, only 101..450 are ever filled.
constexpr int kTextSlots = 451;
constexpr int kFirstTextId = 101;
constexpr int kLastTextId = 450;

// Text N of the table; empty for an unfilled slot or an id outside the table.
QString Text(int id);
// Text N, or `fallback` where the table has none (names that must never be empty).
QString TextOr(int id, const QString& fallback);

// Fills the table once from "quorvant.lng", section [Language]: the program folder's, else the
// next one of SetLanguageFolders (text/LanguageFile.h), else the built-in Dutch texts.
void LaadTaal(const QString& programFolder);

// Fills the table with the texts built into the program (tools that show captions without a window).
void LoadBuiltInTexts();

// Empties the table again (a new program start; tests).
void ClearTexts();

}  // namespace quorvant
