#pragma once

#include "main_window/SetupPart.h"

namespace quorvant {

// External news [ExtNews] (tab 10), the news folder of news.ini and the news buttons (tab 12).
class ExternalNews : public SetupPart {
public:
    explicit ExternalNews(SetupContext& context);
    void LaadScherm() override;
    void LeesNews();
    void SchrijfNews();  // inside the news.ini save; the file is already selected
};

}  // namespace quorvant
