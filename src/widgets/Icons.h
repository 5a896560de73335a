#pragma once

#include <QIcon>

namespace quorvant {

// The program's two picture-button images: resource 103 (save) and resource 101 (leave).
QIcon IconResource(int id);

}  // namespace quorvant
