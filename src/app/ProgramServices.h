#pragma once

#include <memory>

#include "platform/ServiceInterfaces.h"

namespace quorvant {

// The program's real platform services: ALSA devices and mixers, Qt's choosers, the genre
// helper program and message boxes.
class ProgramServices {
public:
    // `genreHelper`: path of the quorvant-genres program (see app/InstallLayout.h).
    explicit ProgramServices(const QString& genreHelper);
    ~ProgramServices();
    const Services& Get() const { return services_; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    Services services_;
};

}  // namespace quorvant
