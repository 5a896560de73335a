#pragma once

#include <QIcon>

namespace quorvant {

// The program's two picture-button images: resource 103 (save) and resource 101 (leave). The
// desktop theme's document-save and application-exit where the theme has them, else our own drawing.
QIcon IconResource(int id);

// The float button's picture: a news sheet lifted off a block.
QIcon FloatNewsIcon();

// The history button's picture: a clock with an arrow turning back.
QIcon HistoryIcon();

// The warning of the check marks: an exclamation mark in a yellow triangle, drawn here and not
// asked of the desktop theme, so it looks the same everywhere and costs no theme lookup.
QIcon WarningIcon();

}  // namespace quorvant
