#pragma once

#include <QWidget>
#include <array>

#include "windows/dialogs/SettingsDialog.h"

class QLabel;
class QPushButton;

namespace quorvant {

class CardRow;
class LedLabel;
class SpinButton;

// Sound cards of the jingle pad's four columns ([AudioPlayers] Jingle_A_Card..Jingle_D_Card).
// A separate, non-modal window; the opener keeps one instance and only raises it while it is open.
// It reads its keys when it is built and is deleted when it closes.
class frmMultiJingles : public SettingsDialog {
    Q_OBJECT

public:
    frmMultiJingles(const QString& programFolder, const Services& services, QWidget* parent = nullptr);

    void LaadScherm();
    void LeesIni();
    // Writes the four columns in one transaction and stays open. False (after telling the user)
    // when nothing was written.
    bool cmdSave_Click();
    // Closes without saving.
    void cmdStop_Click();

    // The device number the save writes for a column (0..3).
    qint16 Card(int column) const;

    std::array<QLabel*, 4> Label1{};
    std::array<SpinButton*, 4> updKaart{};
    std::array<LedLabel*, 4> ledKaart{};
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdStop = nullptr;
    IniAccessor& iniCon = ini_;

private:
    void Form_Load();

    std::array<CardRow*, 4> rows_{};
};

}  // namespace quorvant
