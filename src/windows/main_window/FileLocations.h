#pragma once

#include <array>

#include "windows/main_window/SetupPart.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvant {

// The four folders of [Files] (tab 0) and the folder browse buttons cmdPath(0..4); button 3 and
// its box stand on the news page and are attached by it.
class FileLocations : public SetupPart {
public:
    explicit FileLocations(SetupContext& context);
    void LaadScherm() override;

    // The news page's browse button and box (cmdPath(3), txtNews).
    void AttachNewsPath(QPushButton* button, QLineEdit* box);
    void cmdPath_Click(int index);

    std::array<QLabel*, 4> lblLocaties{};
    QLineEdit* txtDatabase = nullptr;
    QLineEdit* txtLog = nullptr;
    QLineEdit* txtRepeat = nullptr;
    QLineEdit* txtFrag = nullptr;
    std::array<QPushButton*, 5> cmdPath{};

private:
    std::array<QLineEdit*, 5> pathBoxes_{};
};

}  // namespace quorvant
