#pragma once

// The schema's tables, one source file per settings file.

#include <span>

#include "schema/KeySchema.h"

namespace quorvant::schema::data {

std::span<const Key> ServerKeys();
std::span<const Section> ServerSections();
std::span<const Key> NewsKeys();
std::span<const Section> NewsSections();
std::span<const Key> CommonKeys();
std::span<const Section> CommonSections();

}  // namespace quorvant::schema::data
