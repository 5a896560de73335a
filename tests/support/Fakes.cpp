#include "support/Fakes.h"

#include <stdexcept>

namespace quorvant::test {

int FakeWaveOutDevices::DeviceCount() const {
    ++countCalls;
    return int(names.size());
}

std::optional<QString> FakeWaveOutDevices::DeviceName(int device) const {
    nameRequests.append(device);
    if (device == -1) return defaultName;
    if (device < 0 || device >= names.size()) return std::nullopt;
    return names.at(device);
}

FakeMixer::FakeMixer(std::shared_ptr<FakeMixerSetup> setup, int index) : setup_(std::move(setup)), index_(index) {}

int FakeMixer::HighestDevice() const { return int(setup_->devices.size()) - 1; }

void FakeMixer::SelectDevice(qint16 device) {
    const bool bad = device < 0 || device >= int(setup_->devices.size());
    setup_->calls.push_back({index_, QStringLiteral("SelectDevice"), device, bad});
    if (bad) throw std::runtime_error("no such mixer device");
    device_ = device;
    line_ = -1;
}

QString FakeMixer::CurrentDeviceName() const {
    if (device_ < 0 || device_ >= int(setup_->devices.size())) return {};
    return setup_->devices[device_].name;
}

int FakeMixer::HighestLine() const {
    if (device_ < 0 || device_ >= int(setup_->devices.size())) return -1;
    return int(setup_->devices[device_].lines.size()) - 1;
}

void FakeMixer::SelectLine(qint16 line) {
    const bool bad = line < 0 || line > HighestLine();
    setup_->calls.push_back({index_, QStringLiteral("SelectLine"), line, bad});
    if (bad) throw std::runtime_error("no such mixer line");
    line_ = line;
}

QString FakeMixer::CurrentLineName() const {
    if (line_ < 0 || line_ > HighestLine()) return {};
    return setup_->devices[device_].lines.at(line_);
}

std::unique_ptr<Mixer> FakeMixerFactory::Create() {
    auto mixer = std::make_unique<FakeMixer>(setup, created++);
    mixers.push_back(mixer.get());
    return mixer;
}

FakeMixerFactory& FakeMixerFactory::AddDevice(const QString& name, const QStringList& lines) {
    setup->devices.push_back({name, lines});
    return *this;
}

std::optional<QString> FakeFolderChooser::Browse(QWidget* parent, const QString& prompt, const QString& startFolder,
                                                 const FolderChooserCaptions& captions) {
    ++calls;
    lastParent = parent;
    lastPrompt = prompt;
    lastStartFolder = startFolder;
    lastCaptions = captions;
    return answer;
}

void FakeColourChooser::SetFlags(int value) {
    flags = value;
    flagHistory.append(value);
}

std::optional<qint32> FakeColourChooser::Choose(QWidget*) {
    ++calls;
    currentAtOpening.append(current);
    std::optional<qint32> answer;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    if (answer) current = *answer;
    return answer;
}

void FakeGenreSource::Request(const QString& mdbPath, std::function<void(const GenreList&)> done) {
    requestedPaths.append(mdbPath);
    if (immediate) {
        done(*immediate);
        return;
    }
    pending_.push_back(std::move(done));
}

bool FakeGenreSource::Answer(const GenreList& list) {
    if (pending_.empty()) return false;
    auto done = std::move(pending_.front());
    pending_.pop_front();
    done(list);
    return true;
}

void RecordingErrorReporter::Report(QWidget* parent, const QString& title, const QString& message) {
    reports.append({parent, title, message});
}

int RecordingErrorReporter::Choose(QWidget* parent, const QString& title, const QString& question,
                                   const QStringList& captions) {
    choices.append({parent, title, question});
    if (picks.empty()) return int(captions.size()) - 1;
    const int pick = picks.front();
    picks.pop_front();
    return pick;
}

bool RecordingErrorReporter::Ask(QWidget* parent, const QString& title, const QString& question, const QString&) {
    questions.append({parent, title, question});
    return answer;
}

}  // namespace quorvant::test
