#include "windows/main_window/NetworkLinks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>
#include <stdexcept>

#include "binding/ControlRows.h"
#include "schema/Interpret.h"
#include "text/Messages.h"
#include "text/TextTable.h"
#include "widgets/StateCheckBox.h"
#include "windows/shared/Controls.h"

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

QLineEdit* AddBox(FieldRows& rows, const char* labelName, const char* boxName, QLabel** label, int width) {
    *label = Named<QLabel>(labelName);
    auto* box = Named<QLineEdit>(boxName);
    box->setMinimumWidth(width);
    rows.Row(*label, box);
    return box;
}

}  // namespace

NetworkLinks::NetworkLinks(SetupContext& context) : SetupPart(context) {
    for (int id = 0; id < kLinks; ++id) {
        const LinkDesign& design = kLinkDesigns[id];
        Link& link = links_[id];
        link.frame = Named<QGroupBox>(design.frame);
        FieldRows rows(link.frame, context_.bindings);
        if (id == IO || id == WD) {
            auto* box = new StateCheckBox;
            (id == IO ? chkInterface : chkUseWD) = box;
            link.enable = box;
        } else {
            link.enable = new QCheckBox;
        }
        link.enable->setObjectName(design.enable);
        rows.Row(link.enable);
        link.txtRemoteName = AddBox(rows, design.lblRemoteName, design.txtRemoteName, &link.lblRemoteName, 260);
        link.txtRemotePort = AddBox(rows, design.lblRemotePort, design.txtRemotePort, &link.lblRemotePort, 120);
        link.txtHostPort = AddBox(rows, design.lblHostPort, design.txtHostPort, &link.lblHostPort, 120);
        link.txtRemotePort->setMaximumWidth(120);
        link.txtHostPort->setMaximumWidth(120);
        if (id == EXT) {
            lblExtSystem = Named<QLabel>("lblExtSystem");
            cobSysteem = Named<QComboBox>("cobSysteem");
            // Shown only; no file holds the choice.
            cobSysteem->addItem("CONTACT");
            cobSysteem->setCurrentIndex(0);
            rows.Row(lblExtSystem, cobSysteem);
        }
        rows.Grid()->setColumnStretch(3, 1);
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
// Why a port box's text cannot be written as a number, by the port rule; empty when it can (an
// empty box is written as 0).
QString PortProblem(const schema::Key& key, const QString& box, const QString& frame, const QString& text) {
    if (schema::Interpret(key, text).number) return {};
    if (HasNumberForm(text)) return msg::PortOutOfRange(box, frame, text);
    return msg::PortNotWholeNumber(box, frame, text);
}
}  // namespace

// Ports: shown as stored; an empty box shows "0" from the save on (RefuseSave puts it there) and
// the file gets 0. The key says whether the file gets a number, the trimmed text or the text as
// typed. The write itself changes no box: the window also asks it what a save would write, to
// know whether it holds unsaved edits.
Binding NetworkLinks::PortBinding(const schema::Key& key, LinkId link, QLineEdit* box, QLabel* label) {
    if (key.Has(schema::WrittenAsNumber)) numberPorts_.append({&key, link, box, label});
    allPorts_.append(box);
    return Bind(
        key, box, [box](const QString& text) { box->setText(text); },
        [this, &key, link, box, label]() -> IniValue {
            const QString text = box->text().isEmpty() ? QStringLiteral("0") : box->text();
            if (key.Has(schema::WrittenAsNumber)) {
                // RefuseSave stops the save before this; never write text as a number.
                if (const std::optional<qint32> number = schema::Interpret(key, text).number) return *number;
                throw std::runtime_error(PortProblem(key, label->text(), links_[link].frame->title(), text).toStdString());
            }
            return key.Has(schema::WrittenTrimmed) ? TrimSpaces(text) : text;
        });
}

QString NetworkLinks::RefuseSave() {
    for (const NumberPort& port : numberPorts_) {
        const QString problem =
            PortProblem(*port.key, port.label->text(), links_[port.link].frame->title(), port.box->text());
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
    for (int id = 0; id < kLinks; ++id) links_[id].frame->setTitle(Text(LinkKey(id, 0).caption.group));
    lblExtSystem->setText(Text(234));
}

}  // namespace quorvant
