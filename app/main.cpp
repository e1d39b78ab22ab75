// Tavrel: wires the main window up and runs the event loop.

#include <QApplication>
#include <QCommandLineParser>
#include <string_view>

#include "ui/main/Skelda.h"
#include "ui/main/UserDialogs.h"

namespace {

void NameTheApplication() {
    QCoreApplication::setApplicationName("Tavrel");
    QCoreApplication::setApplicationVersion(TAVREL_VERSION);
}

void DescribeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription("Tavrel, a viewer for chess games in PGN files.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("file", "The PGN file to open; without one, Tavrel asks.", "[FILE.pgn]");
}

bool AsksForHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") return false;  // what follows is a file name, however it begins
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-?" || arg == "-v" ||
            arg == "--version") {
            return true;
        }
    }
    return false;
}

// The usage and the version are answered without QApplication, which needs a display: they must
// work on a terminal that has none. Exits the program.
[[noreturn]] void AnswerHelpOrVersion(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    NameTheApplication();
    QCommandLineParser parser;
    DescribeCommandLine(parser);
    // Qt's own options (-style and the like) are unknown here; they do not stop the answer.
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet("version") && !parser.isSet("help")) parser.showVersion();
    parser.showHelp(0);
}

}  // namespace

int main(int argc, char** argv) {
    if (AsksForHelpOrVersion(argc, argv)) AnswerHelpOrVersion(argc, argv);

    QApplication app(argc, argv);
    NameTheApplication();
    QCommandLineParser parser;
    DescribeCommandLine(parser);
    parser.process(app);

    // Words of an unquoted path with blanks in it arrive as separate arguments: join them again.
    const QString path = parser.positionalArguments().join(' ');

    tavrel::ui::DesktopDialogs dialogs;
    tavrel::ui::Skelda window(dialogs);
    window.show();
    if (!window.Form_Load(path)) return 0;
    return QApplication::exec();
}
