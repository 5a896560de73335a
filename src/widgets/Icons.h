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

}  // namespace quorvant
