// Vestralon: wires the start-up sequence; everything else lives in the libraries.
#include <QApplication>

#include "app/startup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vestralon");
    QApplication::setOrganizationName("Veltrano Systemhaus");
    return vestral::app::run_main();
}
