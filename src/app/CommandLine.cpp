#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace quorvant {

namespace {
// Qt's own options, which its application object takes from the command line later: accepted here
// (one dash or two, as Qt takes them) so a wrong one of ours still ends the program before any
// window. Those of QGuiApplication, QApplication and the X11 platform.
struct QtOption {
    const char* name;
    bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true}, {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true}, {"qwindowtitle", true}, {"session", true},
    {"style", true}, {"stylesheet", true}, {"qmljsdebugger", true}, {"display", true},
    {"geometry", true}, {"title", true}, {"icon", true}, {"name", true}, {"visual", true},
    {"reverse", false}, {"widgetcount", false}, {"testability", false}, {"nograb", false}, {"dograb", false},
};
}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments, const QString& version) {
    QCommandLineParser parser;
    // Qt's options are single words after one dash, like -platform.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Edits the settings of the radio-automation server: server.ini and news.ini in the\n"
                       "program folder, the rest in the database folder that server.ini names.\n"
                       "Qt's own options (-platform, -style, -reverse, -display ...) are taken as well."));
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
    for (const QtOption& qt : kQtOptions) {
        QCommandLineOption option(QString::fromLatin1(qt.name), QString(), qt.takesValue ? QStringLiteral("value") : QString());
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

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
