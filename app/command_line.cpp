#include "command_line.hpp"

#include "version_record.hpp"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace command_line {
namespace {

// Status for a command line the program does not accept, as vorlaxen-calc uses it too.
constexpr int kUsageError = 2;

void describe(QCommandLineParser& parser) {
    // Single-dash words stay whole, so that Qt's own -platform or -reverse is never read as the
    // letters -p ... or -v of ours.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "Proposes figures for a small jet engine built around an automotive turbocharger:\n"
        "the compressor's maximum speed, the air mass flow, a steady-state engine cycle\n"
        "and the size of the combustor's flame tube with its air holes. Its Design\n"
        "Explorer sets candidate engines side by side with their curves, keeps them in\n"
        "CSV files, exports pictures and a PDF design sheet, and remembers its units,\n"
        "sweep and window in ~/.config/Vorlaxen Designer/Design Explorer.conf.\n"
        "\n"
        "Without options it opens its windows, starting with the safety notice and user\n"
        "agreement. With --sheet or --curves it opens none and needs no display: it\n"
        "writes the explorer's design sheet or curve data for a candidates file, with the\n"
        "explorer's remembered sweep, plotted results and units unless --sweep, --plot or\n"
        "--units give others, and exits with status 0, or with a message and status 1\n"
        "(a file that cannot be read or written) or 2 (a wrong command line). For\n"
        "example, a sheet for every design in a folder:\n"
        "  for f in *.csv; do vorlaxen-designer --sheet \"$f\" --output \"${f%csv}pdf\"; done\n"
        "Qt's standard options, such as -platform offscreen or -style fusion, are accepted."));
    // Our own help option rather than Qt's, which would add --help-all and Qt's list of options.
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help and exit.")));
    parser.addOption(QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                                        QStringLiteral("Show the version and exit.")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("sheet"),
        QStringLiteral("Write the design sheet of the candidates in FILE as a PDF to --output."),
        QStringLiteral("FILE")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("curves"),
        QStringLiteral("Write the curve data of the candidates in FILE as CSV to --output, as "
                       "the explorer exports it."),
        QStringLiteral("FILE")));
    parser.addOption(QCommandLineOption(QStringLiteral("output"),
                                        QStringLiteral("The file --sheet or --curves writes."),
                                        QStringLiteral("FILE")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("sweep"),
        QStringLiteral("With --sheet or --curves: the input swept and its range in the display "
                       "units, as in vorlaxen-calc (p2=0:50:0.5)."),
        QStringLiteral("KEY=FROM:TO:STEP")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("plot"),
        QStringLiteral("With --sheet or --curves: the results plotted (thrust,fuel-flow)."),
        QStringLiteral("KEYS")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("units"),
        QStringLiteral("With --sheet or --curves: forms (in, psi, lb/s) or metric."),
        QStringLiteral("SYSTEM")));
}

// What is wrong with the options of --sheet and --curves taken together; empty when nothing is.
QString jobProblem(const QCommandLineParser& parser) {
    const bool sheet = parser.isSet(QStringLiteral("sheet"));
    const bool curves = parser.isSet(QStringLiteral("curves"));
    if (sheet && curves)
        return QStringLiteral("--sheet and --curves each write one file; give one of them.");
    if ((sheet || curves) && !parser.isSet(QStringLiteral("output")))
        return QStringLiteral("--%1 needs --output FILE.")
            .arg(sheet ? QStringLiteral("sheet") : QStringLiteral("curves"));
    if (!sheet && !curves)
        for (const char* name : {"output", "sweep", "plot", "units"})
            if (parser.isSet(QLatin1String(name)))
                return QStringLiteral("--%1 goes with --sheet or --curves.")
                    .arg(QLatin1String(name));
    return {};
}

QStringList argumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// The parser names the program by the path it was started with (or not at all before the
// application object exists); the manual page is made from this text, so it names the program.
QString helpText(const QCommandLineParser& parser) {
    QString text = parser.helpText();
    text.remove(0, text.indexOf(QLatin1Char('\n')));
    return QStringLiteral("Usage: %1 [options]")
               .arg(QLatin1String(version_record::kOriginalFilename)) +
           text;
}

// Qt's own options, as its application object takes them from the command line: those that take
// a value, and those that stand alone. They are set aside when the command line is judged before
// that object exists, so that a wrong one is refused without a display.
constexpr const char* kQtOptionsWithValue[] = {"platform",
                                               "platformpluginpath",
                                               "platformtheme",
                                               "plugin",
                                               "qwindowgeometry",
                                               "geometry",
                                               "qwindowtitle",
                                               "title",
                                               "qwindowicon",
                                               "icon",
                                               "session",
                                               "style",
                                               "stylesheet",
                                               "display",
                                               "name",
                                               "visual",
                                               "ncols",
                                               "cmap",
                                               "im",
                                               "inputstyle",
                                               "qmljsdebugger"};
constexpr const char* kQtFlags[] = {"reverse", "widgetcount", "testability",
                                    "nograb",  "dograb",      "sync"};

QStringList withoutQtOptions(const QStringList& arguments) {
    QStringList left;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString word = arguments[i];
        if (i == 0 || !word.startsWith(QLatin1Char('-'))) {
            left << word;
            continue;
        }
        word.remove(0, word.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? word : word.left(equals);
        bool taken = false;
        for (const char* o : kQtOptionsWithValue)
            if (name == QLatin1String(o)) {
                taken = true;
                if (equals < 0)
                    ++i; // its value
            }
        for (const char* o : kQtFlags)
            taken = taken || (equals < 0 && name == QLatin1String(o));
        if (!taken)
            left << arguments[i];
    }
    return left;
}

} // namespace

std::optional<int> answerBeforeWindows(int argc, char** argv) {
    QCommandLineParser parser;
    describe(parser);
    parser.parse(argumentList(argc, argv));
    if (parser.isSet(QStringLiteral("help"))) {
        print(stdout, helpText(parser));
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        print(stdout,
              QStringLiteral("%1 %2\n").arg(QLatin1String(version_record::kOriginalFilename),
                                            QLatin1String(version_record::kVersion)));
        return 0;
    }
    return refuseUnknown(withoutQtOptions(argumentList(argc, argv)));
}

std::optional<int> refuseUnknown(const QStringList& arguments) {
    QCommandLineParser parser;
    describe(parser);
    QString problem;
    if (!parser.parse(arguments))
        problem = parser.errorText();
    else if (const QString job = jobProblem(parser); !job.isEmpty())
        problem = job;
    else if (!parser.positionalArguments().isEmpty())
        problem = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments()[0]);
    if (problem.isEmpty())
        return std::nullopt;
    print(stderr, QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                      .arg(QLatin1String(version_record::kOriginalFilename), problem));
    return kUsageError;
}

std::optional<OutputJob> outputJob(int argc, char** argv) {
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(withoutQtOptions(argumentList(argc, argv))))
        return std::nullopt;
    OutputJob job;
    if (parser.isSet(QStringLiteral("sheet")))
        job.candidates = parser.value(QStringLiteral("sheet"));
    else if (parser.isSet(QStringLiteral("curves"))) {
        job.kind = OutputJob::Curves;
        job.candidates = parser.value(QStringLiteral("curves"));
    } else
        return std::nullopt;
    job.output = parser.value(QStringLiteral("output"));
    job.sweep = parser.value(QStringLiteral("sweep"));
    job.plot = parser.value(QStringLiteral("plot"));
    job.units = parser.value(QStringLiteral("units"));
    return job;
}

} // namespace command_line
