// Tavrel: wires the main window up and runs the event loop.

#include <QApplication>
#include <QCommandLineParser>

#include "ui/main/Skelda.h"
#include "ui/main/UserDialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tavrel");
    QApplication::setApplicationVersion(TAVREL_VERSION);

    QCommandLineParser parser;
    parser.setApplicationDescription("Tavrel, a viewer for chess games in PGN files.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("file", "The PGN file to open; without one, Tavrel asks.", "[FILE.pgn]");
    parser.process(app);

    // Words of an unquoted path with blanks in it arrive as separate arguments: join them again.
    const QString path = parser.positionalArguments().join(' ');

    tavrel::ui::DesktopDialogs dialogs;
    tavrel::ui::Skelda window(dialogs);
    window.show();
    if (!window.Form_Load(path)) return 0;
    return QApplication::exec();
}
