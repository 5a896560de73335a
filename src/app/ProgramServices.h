#pragma once

#include <QIcon>
#include <functional>
#include <memory>

#include "platform/ServiceInterfaces.h"

namespace quorvant {

class frmSetup;

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

// The program's icon in the hicolor sizes 16 to 256, from PNGs built into this library: it needs
// neither the icon theme nor Qt's SVG plugin.
QIcon ProgramIcon();

// The whole program after main(): command line, application, program folder, window and event
// loop; returns the exit code. `shown` is called once the window is shown: bench/startup_bench
// uses it to see the window ready, so it measures the very start main() runs.
int RunProgram(int argc, char* argv[], const std::function<void(frmSetup&)>& shown = {});

}  // namespace quorvant
