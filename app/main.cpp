#include "launchoptions.h"
#include "servermode.h"
#include "tchat.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // "--server" runs the host alone, without a window or display, so it is decided before any
    // QApplication exists. The table reads the other "--" options (LaunchOptions) before its own
    // command line; "--port N" also applies when it hosts or joins.
    if (morlu::LaunchOptions::wantsServer(argc, argv))
        return morlu::runServer(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName("Morlu");
    Tchat window;
    window.show();
    return app.exec();
}
