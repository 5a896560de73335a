#pragma once

#include <QString>
#include <QStringList>

namespace quorvant {

// What the command line asks for. Checked before any window exists, so a wrong call needs no
// display and creates nothing.
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString folder;  // --folder, absolute and without a trailing separator; empty when not given
    QString text;    // help or version for stdout, or the error for stderr
};

// Exit code of a command line that ends the program before the window.
constexpr int kExitUsage = 2;

// `arguments` as QCoreApplication::arguments() gives them (program name first); needs an
// application object for the help text. Qt's own options are accepted and left to its application
// object.
CommandLine ParseCommandLine(const QStringList& arguments, const QString& version);

}  // namespace quorvant
