#include "platform/FolderChooser.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>

namespace quorvant {

namespace {
QString WithoutAccelerator(QString caption) {
    caption.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QStringLiteral("\x01"), QLatin1String("&"));
    return caption;
}

// While it lives, Qt's own user settings (QtProject.conf) go to a scratch folder that is then
// removed.
class QtSettingsDiscarded {
public:
    QtSettingsDiscarded() {
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, scratch_.path());
    }
    ~QtSettingsDiscarded() {
        const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, config);
    }

private:
    QTemporaryDir scratch_;
};

// The nearest folder at or above `path` that exists; empty when none does.
QString ExistingFolder(const QString& path) {
    QString current = QDir::cleanPath(QDir::fromNativeSeparators(path));
    while (!current.isEmpty()) {
        if (QFileInfo(current).isDir()) return current;
        const QString parent = QFileInfo(current).path();
        if (parent == current || parent == QLatin1String(".")) break;
        current = parent;
    }
    return {};
}
}  // namespace

std::optional<QString> QtFolderChooser::Browse(QWidget* parent, const QString& prompt, const QString& startFolder,
                                               const FolderChooserCaptions& captions) {
    // The prompt goes on a line above the folder view, so the folder dialog sits inside a frame
    // dialog of our own. Qt's own dialog, not the native one: only that lets the captions be set.
    QDialog frame(parent);
    frame.setObjectName(QStringLiteral("folderChooser"));
    frame.setWindowTitle(WithoutAccelerator(prompt));
    auto* layout = new QVBoxLayout(&frame);
    auto* promptLabel = new QLabel(prompt, &frame);
    promptLabel->setObjectName(QStringLiteral("promptLabel"));
    promptLabel->setTextFormat(Qt::PlainText);
    promptLabel->setWordWrap(true);
    layout->addWidget(promptLabel);

    auto* dialog = new QFileDialog(&frame);
    dialog->setWindowFlags(Qt::Widget);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setOption(QFileDialog::ShowDirsOnly, true);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    layout->addWidget(dialog);

    // A start folder that does not exist is still handed over: the dialog opens at the nearest
    // folder that does and proposes the rest as the name.
    const QString start = QDir::fromNativeSeparators(startFolder);
    if (start.isEmpty() || QFileInfo(start).isDir()) {
        dialog->setDirectory(start);
    } else {
        const QString existing = ExistingFolder(start);
        if (!existing.isEmpty()) dialog->setDirectory(existing);
        dialog->selectFile(start);
    }

    if (!captions.ok.isEmpty()) dialog->setLabelText(QFileDialog::Accept, captions.ok);
    if (!captions.cancel.isEmpty()) dialog->setLabelText(QFileDialog::Reject, captions.cancel);
    if (auto* newFolder = dialog->findChild<QToolButton*>(QStringLiteral("newFolderButton"));
        newFolder && !captions.newFolder.isEmpty()) {
        const QString caption = WithoutAccelerator(captions.newFolder);
        newFolder->setToolTip(caption);
        newFolder->setAccessibleName(caption);
    }
    QObject::connect(dialog, &QDialog::finished, &frame, &QDialog::done);
    frame.resize(frame.sizeHint().expandedTo(QSize(560, 400)));

    if (frame.exec() != QDialog::Accepted) {
        // Qt's dialog stores its history in the user's QtProject.conf when it is destroyed; a
        // cancelled choice leaves nothing behind (at the first start, no file at all).
        const QtSettingsDiscarded discarded;
        delete dialog;
        return std::nullopt;
    }
    const QStringList chosen = dialog->selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(chosen.first());
}

}  // namespace quorvant
