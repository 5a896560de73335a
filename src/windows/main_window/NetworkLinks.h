#pragma once

#include <QList>
#include <array>

#include "windows/main_window/SetupPart.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace quorvant {

class StateCheckBox;

// The six links of [InterPC]: the three sibling systems on tab 7, the external control on tab 9,
// the I/O and watchdog interfaces on tab 6 (after the remote-control frame).
class NetworkLinks : public SetupPart {
public:
    // In the order of both passes.
    enum LinkId { RDS, WEB, LOG, EXT, IO, WD };
    static constexpr int kLinks = 6;

    struct Link {
        QGroupBox* frame = nullptr;
        QCheckBox* enable = nullptr;
        QLabel* lblRemoteName = nullptr;
        QLabel* lblRemotePort = nullptr;
        QLabel* lblHostPort = nullptr;
        QLineEdit* txtRemoteName = nullptr;
        QLineEdit* txtRemotePort = nullptr;
        QLineEdit* txtHostPort = nullptr;
    };

    explicit NetworkLinks(SetupContext& context);
    void LaadScherm() override;
    // A sibling-system port box that holds text other than a 32-bit whole number would be written
    // as a number: the save is refused, naming the box.
    QString RefuseSave() override;

    const Link& operator[](LinkId link) const { return links_[link]; }

    // The IO and WD switches keep a stored grey state.
    StateCheckBox* chkInterface = nullptr;
    StateCheckBox* chkUseWD = nullptr;
    QLabel* lblExtSystem = nullptr;
    QComboBox* cobSysteem = nullptr;

private:
    Binding PortBinding(const schema::Key& key, LinkId link, QLineEdit* box, QLabel* label);

    std::array<Link, kLinks> links_{};
    struct NumberPort {
        const schema::Key* key;
        LinkId link;
        QLineEdit* box;
        QLabel* label;
    };
    // The port boxes written as numbers, in write order.
    QList<NumberPort> numberPorts_;
    QList<QLineEdit*> allPorts_;  // every port box, numbers or text
};

}  // namespace quorvant
