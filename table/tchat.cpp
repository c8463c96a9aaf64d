#include "tchat.h"

Tchat::Tchat(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("Tchat");
    setWindowTitle("Morlu");
    resize(789, 595);
}
