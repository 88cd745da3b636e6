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
        "agreement. Qt's standard options, such as -platform offscreen or -style fusion,\n"
        "are accepted."));
    // Our own help option rather than Qt's, which would add --help-all and Qt's list of options.
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help and exit.")));
    parser.addOption(QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                                        QStringLiteral("Show the version and exit.")));
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

} // namespace

std::optional<int> answerBeforeWindows(int argc, char** argv) {
    QCommandLineParser parser;
    describe(parser);
    // Unknown options are not judged here: Qt takes its own from the list only once the
    // application object exists, which needs a display.
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
    return std::nullopt;
}

std::optional<int> refuseUnknown(const QStringList& arguments) {
    QCommandLineParser parser;
    describe(parser);
    QString problem;
    if (!parser.parse(arguments))
        problem = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        problem = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments()[0]);
    if (problem.isEmpty())
        return std::nullopt;
    print(stderr, QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                      .arg(QLatin1String(version_record::kOriginalFilename), problem));
    return kUsageError;
}

} // namespace command_line
