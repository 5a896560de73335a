#pragma once

// Platform services for tests, configured in code; nothing here opens a window or touches hardware.

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ServiceInterfaces.h"

namespace quorvant::test {

class FakeWaveOutDevices : public WaveOutDevices {
public:
    explicit FakeWaveOutDevices(QStringList names = {}) : names(std::move(names)) {}
    int DeviceCount() const override;
    std::optional<QString> DeviceName(int device) const override;

    QStringList names;
    QString defaultName = QStringLiteral("Standaard");
    mutable int countCalls = 0;
    mutable QList<int> nameRequests;
};

struct FakeMixerDevice {
    QString name;
    QStringList lines;
};

// What every mixer of a factory sees, and what was done to it.
struct FakeMixerSetup {
    std::vector<FakeMixerDevice> devices;
    struct Call {
        int mixer;     // creation order of the mixer, from 0
        QString what;  // "SelectDevice" or "SelectLine"
        int argument;
        bool failed;  // the call threw
    };
    std::vector<Call> calls;
};

class FakeMixer : public Mixer {
public:
    FakeMixer(std::shared_ptr<FakeMixerSetup> setup, int index);
    int HighestDevice() const override;
    void SelectDevice(qint16 device) override;
    int CurrentDevice() const override { return device_; }
    QString CurrentDeviceName() const override;
    int HighestLine() const override;
    void SelectLine(qint16 line) override;
    QString CurrentLineName() const override;
    int CurrentLine() const { return line_; }
    int Index() const { return index_; }

private:
    std::shared_ptr<FakeMixerSetup> setup_;
    int index_;
    int device_ = -1;
    int line_ = -1;
};

class FakeMixerFactory : public MixerFactory {
public:
    FakeMixerFactory() : setup(std::make_shared<FakeMixerSetup>()) {}
    std::unique_ptr<Mixer> Create() override;
    // Adds a device with its lines to what every mixer sees.
    FakeMixerFactory& AddDevice(const QString& name, const QStringList& lines);

    std::shared_ptr<FakeMixerSetup> setup;
    int created = 0;
    std::vector<FakeMixer*> mixers;  // not owned; valid while the window that made them lives
};

class FakeFolderChooser : public FolderChooser {
public:
    std::optional<QString> Browse(QWidget* parent, const QString& prompt, const QString& startFolder,
                                  const FolderChooserCaptions& captions) override;

    std::optional<QString> answer;  // nullopt: the user cancels
    int calls = 0;
    QWidget* lastParent = nullptr;
    QString lastPrompt;
    QString lastStartFolder;
    FolderChooserCaptions lastCaptions;
};

class FakeColourChooser : public ColourChooser {
public:
    void SetFlags(int flags) override;
    qint32 CurrentColour() const override { return current; }
    // Takes the next scripted answer (cancel when none is left); a chosen colour becomes current.
    std::optional<qint32> Choose(QWidget* parent) override;

    std::deque<std::optional<qint32>> answers;
    qint32 current = 0;
    int flags = 0;
    QList<int> flagHistory;
    int calls = 0;
    QList<qint32> currentAtOpening;  // the colour the dialog would open with, per call
};

class FakeGenreSource : public GenreSource {
public:
    void Request(const QString& mdbPath, std::function<void(const GenreList&)> done) override;
    // Answers the oldest open request; false when none is open.
    bool Answer(const GenreList& list);
    bool Answer(const QStringList& genres) { return Answer(GenreList{genres, GenreFailure::None, {}, 0}); }
    bool Fail(GenreFailure failure, const QString& path) { return Answer(GenreList{{}, failure, path, 0}); }
    int Pending() const { return int(pending_.size()); }

    QStringList requestedPaths;
    // When set, requests are answered at once with this list.
    std::optional<GenreList> immediate;

private:
    std::deque<std::function<void(const GenreList&)>> pending_;
};

class RecordingErrorReporter : public ErrorReporter {
public:
    void Report(QWidget* parent, const QString& title, const QString& message) override;
    // Records the question and gives `answer`.
    bool Ask(QWidget* parent, const QString& title, const QString& question, const QString& proceed) override;

    struct Entry {
        QWidget* parent;
        QString title;
        QString message;
    };
    // Records the question and gives the next of `picks` (the last choice when none is left).
    int Choose(QWidget* parent, const QString& title, const QString& question, const QStringList& choices) override;

    QList<Entry> reports;
    QList<Entry> questions;
    QList<Entry> choices;
    bool answer = false;
    std::deque<int> picks;
};

// One of each fake; Get() hands them to a window.
struct FakeServices {
    FakeWaveOutDevices waveOut;
    FakeMixerFactory mixers;
    FakeFolderChooser folders;
    FakeColourChooser colours;
    FakeGenreSource genres;
    RecordingErrorReporter errors;

    Services Get() { return Services{&waveOut, &mixers, &folders, &colours, &genres, &errors}; }
};

}  // namespace quorvant::test
