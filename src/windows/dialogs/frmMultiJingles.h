#pragma once

#include <QWidget>
#include <array>

#include "platform/ServiceInterfaces.h"
#include "settings/IniAccessor.h"
#include "settings/KeyTable.h"
#include "windows/shared/DialogSupport.h"

class QLabel;
class QPushButton;

namespace quorvant {

class StatusLine;

class CardRow;
class LedLabel;
class SpinButton;

// Sound cards of the jingle pad's four columns ([AudioPlayers] Jingle_A_Card..Jingle_D_Card).
// A separate, non-modal window; the opener keeps one instance and only raises it while it is open.
// It reads its keys when it is built and is deleted when it closes.
class frmMultiJingles : public DialogWindow {
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
    StatusLine* statusLine = nullptr;  // unsaved edits or the last save
    IniAccessor iniCon;

private:
    void Form_Load();
    KeyRow CardKey(const QString& key, int column);

    QString programFolder_;
    Services services_;
    std::array<CardRow*, 4> rows_{};
    SectionTable table_;
};

}  // namespace quorvant
