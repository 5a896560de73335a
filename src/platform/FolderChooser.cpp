#include "platform/FolderChooser.h"

#include <QFileDialog>
#include <QToolButton>

namespace quorvant {

namespace {
QString WithoutAccelerator(QString caption) {
    caption.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QStringLiteral("\x01"), QLatin1String("&"));
    return caption;
}
}  // namespace

std::optional<QString> QtFolderChooser::Browse(QWidget* parent, const QString& prompt, const QString& startFolder,
                                               const FolderChooserCaptions& captions) {
    QFileDialog dialog(parent);
    // Not the native dialog: only Qt's own lets the button captions be set.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setWindowTitle(prompt);
    dialog.setLabelText(QFileDialog::LookIn, prompt);
    dialog.setDirectory(startFolder);
    if (!captions.ok.isEmpty()) dialog.setLabelText(QFileDialog::Accept, captions.ok);
    if (!captions.cancel.isEmpty()) dialog.setLabelText(QFileDialog::Reject, captions.cancel);
    if (auto* newFolder = dialog.findChild<QToolButton*>(QStringLiteral("newFolderButton"));
        newFolder && !captions.newFolder.isEmpty()) {
        const QString caption = WithoutAccelerator(captions.newFolder);
        newFolder->setToolTip(caption);
        newFolder->setAccessibleName(caption);
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(chosen.first());
}

}  // namespace quorvant
