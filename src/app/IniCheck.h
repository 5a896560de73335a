#pragma once

// quorvant-ini's checks: the `check` command, what `set`, `del` and `apply` refuse before a save,
// --dry-run's diff, and the arguments and output of the tool itself.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "app/IniOutput.h"

namespace quorvant::ini {

struct Edit {
    bool remove = false;
    QString section;
    QString key;
    QString value;
};

// Refusals and --dry-run, before the save of `edits` to `file`: a name that starts with "[", a
// NUL character, a value for a known key that its rule cannot read or that lies outside its limits
// (unless forced). Under --dry-run the change is printed as a unified diff instead of saved. The
// exit status when the save must not run; nothing when it may. `where` names an edit.
std::optional<int> BeforeSave(const QString& file, const std::vector<Edit>& edits,
                              const std::function<QString(size_t)>& where, const Options& options);

// A set of a section, or of a key in it, that neither the schema nor the file knows is refused
// (exit status 2), naming the nearest name that either knows, unless --new. Nothing when all are known.
std::optional<int> RefuseUnknownNames(const QString& file, const std::vector<Edit>& edits,
                                      const std::function<QString(size_t)>& where, const Options& options);

// --dry-run's output for a change of `file` from `before` to `after`: a unified diff of the text.
// The exit status (1 under --exit-code when they differ).
int PrintFileDiff(const QString& file, const QByteArray& before, const QByteArray& after, const Options& options);

// The files `check` reads: FILE itself, or server.ini and news.ini of FOLDER.
QStringList FilesToCheck(const QString& fileOrFolder);
// Prints one line per problem of the files (already read: their parse is in the engine's cache); 0
// when there is none, kProblems when there are.
int Check(const QStringList& files, const Options& options);

// An argument that is not valid UTF-8 (`decodable` false) is refused with exit status 2, naming
// what it is (the file, or the section, key or value of the command); nothing when all are fine.
// `rest` is the command line from FILE on.
std::optional<int> RefuseUndecodable(const QStringList& rest, const QList<bool>& decodable);

// The exit status once the output is out: a write to standard output that failed (a full disk, a
// closed pipe) is a failure, exit status 3.
int Finished(int code);

}  // namespace quorvant::ini
