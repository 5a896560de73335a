#include "app/ProgramServices.h"

#include <QMessageBox>
#include <QPushButton>

#include "platform/AlsaDevices.h"
#include "platform/ColourChooser.h"
#include "platform/FolderChooser.h"
#include "platform/GenreDatabase.h"
#include "text/Messages.h"

namespace quorvant {

namespace {
class MessageBoxReporter : public ErrorReporter {
public:
    void Report(QWidget* parent, const QString& title, const QString& message) override {
        QMessageBox::critical(parent, title, message);
    }
    bool Ask(QWidget* parent, const QString& title, const QString& question, const QString& proceed) override {
        QMessageBox box(QMessageBox::Warning, title, question, QMessageBox::NoButton, parent);
        QPushButton* yes = box.addButton(proceed, QMessageBox::AcceptRole);
        box.setDefaultButton(box.addButton(msg::CancelCaption(), QMessageBox::RejectRole));
        box.exec();
        return box.clickedButton() == yes;
    }
};
}  // namespace

struct ProgramServices::Impl {
    explicit Impl(const QString& genreHelper) : genres(genreHelper) {}
    AlsaWaveOutDevices waveOut;
    AlsaMixerFactory mixers;
    QtFolderChooser folders;
    QtColourChooser colours;
    ProcessGenreSource genres;
    MessageBoxReporter errors;
};

ProgramServices::ProgramServices(const QString& genreHelper) : impl_(std::make_unique<Impl>(genreHelper)) {
    services_.waveOut = &impl_->waveOut;
    services_.mixers = &impl_->mixers;
    services_.folders = &impl_->folders;
    services_.colours = &impl_->colours;
    services_.genres = &impl_->genres;
    services_.errors = &impl_->errors;
}

ProgramServices::~ProgramServices() = default;

}  // namespace quorvant
