#pragma once

namespace quorvant {

// The width of a whole number as a key stores it.
enum class IntWidth { Bits16, Bits32 };

}  // namespace quorvant
