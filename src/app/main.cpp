// Vestralon: wires the start-up sequence; everything else lives in the libraries.
#include <QApplication>

#include "app/startup.h"
#include "errors/errorsys.h"

int main(int argc, char** argv) {
    vestral::errors::Application app(argc, argv);
    QApplication::setApplicationName("Vestralon");
    QApplication::setOrganizationName("Veltrano Systemhaus");
    vestral::app::StartupOptions options;
    options.install_fault_handler = true;
    return vestral::app::run_main(options);
}
