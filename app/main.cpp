// Start-up: the command line is read before any window exists, so that
// --help and --version work without a display; then the console, the window
// and, once it shows, the line file named on the command line.
#include "about/buildinfo.h"
#include "console/console.h"
#include "console/shutdownsignals.h"
#include "remote/remotesettings.h"
#include "store/filename.h"
#include "window/mainwindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>
#include <optional>
#include <variant>

namespace {

struct StartOptions
{
    QString file;
    // Remote control as the command line asks for it, over what is stored.
    std::optional<RemoteSettings> remote;
};

QString version()
{
    return QStringLiteral("%1.%2.%3").arg(BuildInfo::Major).arg(BuildInfo::Minor).arg(BuildInfo::Revision);
}

// Each argument as the system gave it: a file name that is not UTF-8 keeps
// its bytes.
QStringList arguments(int argc, char *argv[])
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << FileName::fromNative(QByteArray(argv[i]));
    return list;
}

// Why the remote control options cannot be used, or nothing.
QString readRemoteOptions(const QCommandLineParser &parser, const QCommandLineOption &port,
                          const QCommandLineOption &address, StartOptions &options)
{
    if (!parser.isSet(port))
        return parser.isSet(address) ? QStringLiteral("--remote-address needs --remote-port.") : QString();
    RemoteSettings remote;
    remote.on = true;
    const std::optional<quint16> number = RemoteSettings::readPort(parser.value(port));
    if (!number)
        return QStringLiteral("Invalid remote port '%1': give a number from 1 to 65535.").arg(parser.value(port));
    remote.port = *number;
    if (parser.isSet(address) && !remote.address.setAddress(parser.value(address)))
        return QStringLiteral("Invalid remote address '%1'.").arg(parser.value(address));
    options.remote = remote;
    return {};
}

// The options, or the exit status when the program is to end at once.
std::variant<StartOptions, int> readCommandLine(int argc, char *argv[])
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Sends text lines and display commands to an on-screen-display overlay controller."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and exits."));
    const QCommandLineOption showVersion({QStringLiteral("v"), QStringLiteral("version")},
                                         QStringLiteral("Shows the version and exits."));
    const QCommandLineOption remotePort(
        QStringLiteral("remote-port"),
        QStringLiteral("Listens for remote control on TCP and UDP port PORT (1-65535) at 127.0.0.1."),
        QStringLiteral("PORT"));
    const QCommandLineOption remoteAddress(QStringLiteral("remote-address"),
                                           QStringLiteral("Listens for remote control on ADDRESS instead."),
                                           QStringLiteral("ADDRESS"));
    parser.addOptions({help, showVersion, remotePort, remoteAddress});
    parser.addPositionalArgument(QStringLiteral("FILE.ptx"), QStringLiteral("A line file to open at start-up."),
                                 QStringLiteral("[FILE.ptx]"));
    const bool parsed = parser.parse(arguments(argc, argv));
    QString error = parser.errorText();
    StartOptions options;
    if (parsed && parser.positionalArguments().size() > 1)
        error = QStringLiteral("Only one file can be opened.");
    if (parsed && error.isEmpty())
        error = readRemoteOptions(parser, remotePort, remoteAddress, options);
    if (!parsed || !error.isEmpty() || parser.isSet(help) || parser.isSet(showVersion)) {
        // A core application only, for the program's name: no display needed.
        QCoreApplication app(argc, argv);
        if (error.isEmpty() && parser.isSet(help))
            parser.showHelp(0);
        if (error.isEmpty())
            parser.showVersion();
        std::fprintf(stderr, "%s\n\n%s", qPrintable(error), qPrintable(parser.helpText()));
        return 2;
    }
    options.file = parser.positionalArguments().value(0);
    return options;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Quillane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quillane"));
    QCoreApplication::setApplicationVersion(version());
    const std::variant<StartOptions, int> read = readCommandLine(argc, argv);
    if (const int *status = std::get_if<int>(&read))
        return *status;
    const StartOptions &options = std::get<StartOptions>(read);

    QApplication app(argc, argv);
    // The Wayland app id and X11 class, so that docks tie the window to its launcher.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quillane.Quillane"));
    Console console;
    Main window(console);
    ShutdownSignals shutdown;
    QObject::connect(&shutdown, &ShutdownSignals::requested, &window, &Main::ExitSubMenu_Click);
    window.show();
    QTimer::singleShot(0, &window,
                       [&window, &options] { window.startRemote(options.remote.value_or(RemoteSettings::load())); });
    if (!options.file.isEmpty())
        QTimer::singleShot(0, &window, [&window, &options] { window.openLineFile(options.file); });
    return QApplication::exec();
}
