#include "core/program_start.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Quellmar");
    Main();
    return 0;
}
