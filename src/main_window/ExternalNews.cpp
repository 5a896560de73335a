#include "main_window/ExternalNews.h"

namespace quorvant {

ExternalNews::ExternalNews(SetupContext& context) : SetupPart(context) {}

void ExternalNews::LaadScherm() {}

void ExternalNews::LeesNews() {}

void ExternalNews::SchrijfNews() {}

}  // namespace quorvant
