#include "tchat.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Morlu");
    Tchat window;
    window.show();
    return app.exec();
}
