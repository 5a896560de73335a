#include "windows/main_window/NetworkLinks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>
#include <stdexcept>

#include "binding/ControlRows.h"
#include "text/Messages.h"
#include "text/TextTable.h"
#include "widgets/StateCheckBox.h"
#include "windows/shared/DialogSupport.h"

namespace quorvant {

namespace {

struct LinkDesign {
    const char* frame;
    const char* enable;
    const char* lblRemoteName;
    const char* lblRemotePort;
    const char* lblHostPort;
    const char* txtRemoteName;
    const char* txtRemotePort;
    const char* txtHostPort;
    // Its switch, remote name, remote port and host port in [InterPC]; the switch's key names the
    // page and the frame's caption.
    std::array<const char*, 4> keys;
};

// In the order of NetworkLinks::LinkId. The control names are the established ones, irregular
// letter case included.
constexpr std::array<LinkDesign, NetworkLinks::kLinks> kLinkDesigns = {{
    {"fraOstrin", "chkInterPCRDS", "lblRemoteNameRDS", "lblRemotePortRDS", "lblHostPortRDS", "txtRemoteNameRDS",
     "txtRemotePortRDS", "txtHostPortRDS", {"networkRDS", "RemoteNameRDS", "RemotePortRDS", "HostPortRDS"}},
    {"fraPelmar", "chkInterPCWEB", "lblRemoteNameWEB", "lblRemotePortWEB", "lblHostPortWEB", "txtRemoteNameWEB",
     "txtRemotePortWEB", "txtHostPortWEB", {"networkWEB", "RemoteNameWEB", "RemotePortWEB", "HostPortWEB"}},
    {"fraVektal", "chkInterPCLOG", "lblRemoteNameLOG", "lblRemotePortLOG", "lblHostPortLog", "txtRemoteNameLOG",
     "txtRemotePortLOG", "txtHostPortLog", {"networkLOG", "RemoteNameLOG", "RemotePortLOG", "HostPortLOG"}},
    {"fraExterneControle", "chkEXT", "lblRemoteNameEXT", "lblRemotePortEXT", "lblHostPortEXT", "txtRemoteNameEXT",
     "txtRemotePortEXT", "txtHostPortEXT", {"networkEXT", "RemoteNameExt", "RemotePortEXT", "HostPortEXT"}},
    {"fraIO", "chkInterface", "lblInterFaceRemoteName", "lblInterfaceRemotePort", "lblInterfaceHostPort",
     "txtIORemoteName", "txtIORemotePort", "txtIOHostPort", {"NetworkIO", "RemoteNameIO", "RemotePortIO", "HostPortIO"}},
    {"fraWD", "chkUseWD", "lblWDRemoteName", "lblWDRemotePort", "lblWDHostPort", "txtWDRemoteName", "txtWDRemotePort",
     "txtWDHostPort", {"NetworkWD", "RemoteNameWD", "RemotePortWD", "HostPortWD"}},
}};

const schema::Key& LinkKey(int link, int field) {
    return schema::Find(schema::File::Server, QStringLiteral("InterPC"), QString::fromLatin1(kLinkDesigns[link].keys[field]));
}

QLabel* AddLabelled(QGridLayout* grid, int row, const char* labelName, const char* boxName, QLineEdit** box,
                    int boxWidth) {
    auto* label = Named<QLabel>(labelName);
    *box = new QLineEdit;
    (*box)->setObjectName(boxName);
    (*box)->setMinimumWidth(boxWidth);
    label->setBuddy(*box);
    grid->addWidget(label, row, 0);
    grid->addWidget(*box, row, 1);
    return label;
}

}  // namespace

NetworkLinks::NetworkLinks(SetupContext& context) : SetupPart(context) {
    for (int id = 0; id < kLinks; ++id) {
        const LinkDesign& design = kLinkDesigns[id];
        Link& link = links_[id];
        link.frame = Named<QGroupBox>(design.frame);
        auto* grid = new QGridLayout(link.frame);
        if (id == IO || id == WD) {
            auto* box = new StateCheckBox;
            (id == IO ? chkInterface : chkUseWD) = box;
            link.enable = box;
        } else {
            link.enable = new QCheckBox;
        }
        link.enable->setObjectName(design.enable);
        grid->addWidget(link.enable, 0, 0, 1, 3);
        link.lblRemoteName = AddLabelled(grid, 1, design.lblRemoteName, design.txtRemoteName, &link.txtRemoteName, 260);
        link.lblRemotePort = AddLabelled(grid, 2, design.lblRemotePort, design.txtRemotePort, &link.txtRemotePort, 120);
        link.lblHostPort = AddLabelled(grid, 3, design.lblHostPort, design.txtHostPort, &link.txtHostPort, 120);
        link.txtRemotePort->setMaximumWidth(120);
        link.txtHostPort->setMaximumWidth(120);
        if (id == EXT) {
            lblExtSystem = Named<QLabel>("lblExtSystem");
            cobSysteem = Named<QComboBox>("cobSysteem");
            // Shown only; no file holds the choice.
            cobSysteem->addItem("CONTACT");
            cobSysteem->setCurrentIndex(0);
            lblExtSystem->setBuddy(cobSysteem);
            grid->addWidget(lblExtSystem, 4, 0);
            grid->addWidget(cobSysteem, 4, 1, Qt::AlignLeft);
        }
        grid->setColumnStretch(2, 1);
        context_.TabLayout(LinkKey(id, 0).tab)->addWidget(link.frame);
    }
    for (Tab tab : {Tab::IoInterface, Tab::InterPc, Tab::ExternalControl}) context_.TabLayout(tab)->addStretch(1);

    for (int id = 0; id < kLinks; ++id) {
        const Link& link = links_[id];
        Add(Bind(LinkKey(id, 0), link.enable).Labelled(link.enable));
        Add(Bind(LinkKey(id, 1), link.txtRemoteName).Labelled(link.lblRemoteName));
        Add(PortBinding(LinkKey(id, 2), LinkId(id), link.txtRemotePort, link.lblRemotePort).Labelled(link.lblRemotePort));
        Add(PortBinding(LinkKey(id, 3), LinkId(id), link.txtHostPort, link.lblHostPort).Labelled(link.lblHostPort));
    }
}

namespace {
// Why a port box's text cannot be written as a 32-bit whole number; empty when it can (an empty
// box is written as 0).
QString PortProblem(const QString& box, const QString& frame, const QString& text) {
    if (text.isEmpty() || WholeNumber(text, IntWidth::Bits32)) return {};
    if (HasNumberForm(text)) return msg::PortOutOfRange(box, frame, text);
    return msg::PortNotWholeNumber(box, frame, text);
}
}  // namespace

// Ports: read by the text rule; an empty box shows "0" from the save on (RefuseSave puts it
// there) and the file gets 0. The key says whether the file gets a number, the trimmed text or the
// text as typed. The write itself changes no box: the window also asks it what a save would
// write, to know whether it holds unsaved edits.
Binding NetworkLinks::PortBinding(const schema::Key& key, LinkId link, QLineEdit* box, QLabel* label) {
    if (key.Has(schema::WrittenAsNumber)) numberPorts_.append({link, box, label});
    allPorts_.append(box);
    return Bind(
        key, box, [box](const QString& text) { box->setText(text); },
        [this, &key, link, box, label]() -> IniValue {
            const QString text = box->text().isEmpty() ? QStringLiteral("0") : box->text();
            if (key.Has(schema::WrittenAsNumber)) {
                const std::optional<qint32> number = WholeNumber(text, IntWidth::Bits32);
                // RefuseSave stops the save before this; never write text as a number.
                if (!number)
                    throw std::runtime_error(PortProblem(label->text(), links_[link].frame->title(), text).toStdString());
                return *number;
            }
            return key.Has(schema::WrittenTrimmed) ? TrimSpaces(text) : text;
        });
}

QString NetworkLinks::RefuseSave() {
    for (const NumberPort& port : numberPorts_) {
        const QString problem = PortProblem(port.label->text(), links_[port.link].frame->title(), port.box->text());
        if (problem.isEmpty()) continue;
        // Show the box so the user can correct it after the message.
        context_.ShowTab(LinkKey(port.link, 0).tab);
        port.box->setFocus();
        port.box->selectAll();
        return problem;
    }
    // The save goes ahead: an empty port box shows the 0 it writes.
    for (QLineEdit* box : allPorts_)
        if (box->text().isEmpty()) box->setText("0");
    return {};
}

void NetworkLinks::LaadScherm() {
    for (int id = 0; id < kLinks; ++id) {
        const Link& link = links_[id];
        const QString frame = Text(LinkKey(id, 0).caption.group);
        link.frame->setTitle(frame);
        // Every link has the same captions; the names say which link a control belongs to.
        link.enable->setAccessibleName(QString("%1: %2").arg(frame, link.enable->text()));
        link.txtRemoteName->setAccessibleName(QString("%1: %2").arg(frame, link.lblRemoteName->text()));
        link.txtRemotePort->setAccessibleName(QString("%1: %2").arg(frame, link.lblRemotePort->text()));
        link.txtHostPort->setAccessibleName(QString("%1: %2").arg(frame, link.lblHostPort->text()));
    }
    lblExtSystem->setText(Text(234));
}

}  // namespace quorvant
