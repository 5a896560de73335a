#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace quorvant {

// Wave-out device list: devices 0..DeviceCount()-1, and -1 for the system's default device.
class WaveOutDevices {
public:
    virtual ~WaveOutDevices() = default;
    virtual int DeviceCount() const = 0;
    // Empty optional when the number is not a device.
    virtual std::optional<QString> DeviceName(int device) const = 0;
};

// One mixer object per audio feed: devices 0..HighestDevice(), lines 0..HighestLine() of the
// selected device. Highest numbers are -1 when there is nothing.
class Mixer {
public:
    virtual ~Mixer() = default;
    virtual int HighestDevice() const = 0;
    virtual void SelectDevice(qint16 device) = 0;  // throws std::runtime_error for a non-device
    virtual int CurrentDevice() const = 0;
    virtual QString CurrentDeviceName() const = 0;
    virtual int HighestLine() const = 0;
    virtual void SelectLine(qint16 line) = 0;  // throws std::runtime_error for a non-line
    virtual QString CurrentLineName() const = 0;
};

class MixerFactory {
public:
    virtual ~MixerFactory() = default;
    virtual std::unique_ptr<Mixer> Create() = 0;
};

struct FolderChooserCaptions {
    QString ok;
    QString newFolder;
    QString cancel;
};

// Modal folder chooser. Empty optional when the user cancels.
class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    virtual std::optional<QString> Browse(QWidget* parent, const QString& prompt, const QString& startFolder,
                                          const FolderChooserCaptions& captions) = 0;
};

// Modal colour chooser that keeps its current colour (0x00BBGGRR) between openings.
// Empty optional when the user cancels; the current colour then stays as it was.
class ColourChooser {
public:
    virtual ~ColourChooser() = default;
    virtual void SetFlags(int flags) = 0;
    virtual qint32 CurrentColour() const = 0;
    virtual std::optional<qint32> Choose(QWidget* parent) = 0;
};

// Why there is no genre list. The page that shows the list puts it into words.
enum class GenreFailure {
    None,
    UnexpectedAnswer,  // the reader answered something else than a list or a reason
    NotFound,          // no database file under the name
    NotADatabase,
    NoTable,           // no table Genres
    NoColumn,          // no column Genre in it
    Damaged,
    NoAnswer,          // the reader took longer than its time limit
    ReaderCrashed,
    ReaderMissing,     // the reader program is absent or does not start
};

// The genre list of data.mdb, already in the database's sort order. Either a list or the reason
// there is none.
struct GenreList {
    QStringList genres;
    GenreFailure failure = GenreFailure::None;
    QString path;         // the database, or the reader program when that is missing
    int timeLimitMs = 0;  // how long the reader was given (NoAnswer)
};

// Reads the genre list without blocking the caller; `done` runs later on the caller's thread.
class GenreSource {
public:
    virtual ~GenreSource() = default;
    virtual void Request(const QString& mdbPath, std::function<void(const GenreList&)> done) = 0;
};

// Tells the user that something could not be done (a message box in the program).
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void Report(QWidget* parent, const QString& title, const QString& message) = 0;
    // Asks whether to go on: true for `proceed`, false for "Annuleren" (or closing the question).
    virtual bool Ask(QWidget* parent, const QString& title, const QString& question, const QString& proceed) = 0;
    // Asks to pick one of `choices` (button captions); returns its place. The last one is what
    // closing the question means, and what a reporter that tells no one answers.
    virtual int Choose(QWidget* parent, const QString& title, const QString& question, const QStringList& choices) {
        (void)parent, (void)title, (void)question;
        return int(choices.size()) - 1;
    }
};

// What the program remembers for its user between runs, beside the program folder: choices made
// in the windows (on or off). Not being able to remember only means the choice is asked again.
class Preferences {
public:
    virtual ~Preferences() = default;
    // False when never set.
    virtual bool Flag(const QString& name) const = 0;
    virtual void SetFlag(const QString& name, bool on) = 0;
};

// Stand-ins for a service the platform does not have (platform/AbsentServices.cpp): no devices
// (every device name blank), mixers without devices or lines, choosers that are cancelled, a genre
// source that never answers, a reporter that tells no one.
WaveOutDevices& AbsentWaveOutDevices();
MixerFactory& AbsentMixerFactory();
FolderChooser& AbsentFolderChooser();
ColourChooser& AbsentColourChooser();
GenreSource& AbsentGenreSource();
ErrorReporter& AbsentErrorReporter();
// Remembers nothing: every flag is off.
Preferences& AbsentPreferences();

// What a window needs from the platform. Not owned, and never null: a service left out is its
// stand-in above, so windows call every service without asking first.
struct Services {
    WaveOutDevices* waveOut = &AbsentWaveOutDevices();
    MixerFactory* mixers = &AbsentMixerFactory();
    FolderChooser* folders = &AbsentFolderChooser();
    ColourChooser* colours = &AbsentColourChooser();
    GenreSource* genres = &AbsentGenreSource();
    ErrorReporter* errors = &AbsentErrorReporter();
    Preferences* preferences = &AbsentPreferences();
};

}  // namespace quorvant
