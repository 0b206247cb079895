#include "core/program_start.h"
#include "platform/ui/event_loop.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Quellmar");
    Main();
    ui::Run();
    return 0;
}
