#include <stdexcept>

#include "platform/ServiceInterfaces.h"

namespace quorvant {

namespace {

class NoWaveOutDevices : public WaveOutDevices {
public:
    int DeviceCount() const override { return 0; }
    // No name is known for any number: displays stay blank rather than call a card missing.
    std::optional<QString> DeviceName(int) const override { return QString(); }
};

class NoMixer : public Mixer {
public:
    int HighestDevice() const override { return -1; }
    void SelectDevice(qint16) override { throw std::runtime_error("no mixer devices"); }
    int CurrentDevice() const override { return -1; }
    QString CurrentDeviceName() const override { return {}; }
    int HighestLine() const override { return -1; }
    void SelectLine(qint16) override { throw std::runtime_error("no mixer lines"); }
    QString CurrentLineName() const override { return {}; }
};

class NoMixerFactory : public MixerFactory {
public:
    std::unique_ptr<Mixer> Create() override { return std::make_unique<NoMixer>(); }
};

class NoFolderChooser : public FolderChooser {
public:
    std::optional<QString> Browse(QWidget*, const QString&, const QString&, const FolderChooserCaptions&) override {
        return std::nullopt;
    }
};

class NoColourChooser : public ColourChooser {
public:
    void SetFlags(int) override {}
    qint32 CurrentColour() const override { return 0; }
    std::optional<qint32> Choose(QWidget*) override { return std::nullopt; }
};

class NoGenreSource : public GenreSource {
public:
    void Request(const QString&, std::function<void(const GenreList&)>) override {}
};

class NoErrorReporter : public ErrorReporter {
public:
    void Report(QWidget*, const QString&, const QString&) override {}
    bool Ask(QWidget*, const QString&, const QString&, const QString&) override { return false; }
};

class NoPreferences : public Preferences {
public:
    bool Flag(const QString&) const override { return false; }
    void SetFlag(const QString&, bool) override {}
};

// One stand-in of each kind for the whole program: they hold no state.
template <class StandIn>
StandIn& Only() {
    static StandIn service;
    return service;
}

}  // namespace

WaveOutDevices& AbsentWaveOutDevices() { return Only<NoWaveOutDevices>(); }
MixerFactory& AbsentMixerFactory() { return Only<NoMixerFactory>(); }
FolderChooser& AbsentFolderChooser() { return Only<NoFolderChooser>(); }
ColourChooser& AbsentColourChooser() { return Only<NoColourChooser>(); }
GenreSource& AbsentGenreSource() { return Only<NoGenreSource>(); }
ErrorReporter& AbsentErrorReporter() { return Only<NoErrorReporter>(); }
Preferences& AbsentPreferences() { return Only<NoPreferences>(); }

}  // namespace quorvant
