#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace quorvant {

CommandLine ParseCommandLine(const QStringList& arguments, const QString& version) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Edits the settings of the radio-automation server: server.ini and news.ini in the\n"
                       "program folder, the rest in the database folder that server.ini names."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit."));
    const QCommandLineOption showVersion({QStringLiteral("v"), QStringLiteral("version")},
                                         QStringLiteral("Show the version and exit."));
    const QCommandLineOption folder(
        QStringLiteral("folder"),
        QStringLiteral("Edit server.ini and news.ini in DIR instead of the program's own folder."),
        QStringLiteral("DIR"));
    parser.addOption(help);
    parser.addOption(showVersion);
    parser.addOption(folder);

    CommandLine result;
    auto fail = [&](const QString& message) {
        result.action = CommandLine::Action::Error;
        result.text = QStringLiteral("quorvant: %1\nTry 'quorvant --help'.\n").arg(message);
        return result;
    };
    if (!parser.parse(arguments)) return fail(parser.errorText());
    if (parser.isSet(help)) {
        result.action = CommandLine::Action::Help;
        result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(showVersion)) {
        result.action = CommandLine::Action::Version;
        result.text = version + u'\n';
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(folder)) {
        if (parser.values(folder).size() > 1) return fail(QStringLiteral("--folder given more than once"));
        const QString dir = parser.value(folder);
        if (dir.isEmpty()) return fail(QStringLiteral("--folder needs a folder"));
        const QFileInfo info(dir);
        if (!info.exists()) return fail(QStringLiteral("the folder '%1' does not exist").arg(dir));
        if (!info.isDir()) return fail(QStringLiteral("'%1' is not a folder").arg(dir));
        result.folder = QDir::cleanPath(info.absoluteFilePath());
    }
    return result;
}

}  // namespace quorvant
