#include "platform/ui/event_loop.h"

#include "platform/ui/form.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal_loops.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace ui {

void DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    RethrowDeferred();
}

void Run() {
    while (AnyFormLoaded()) {
        QEventLoop loop;
        {
            // Unloading the last form ends every loop in ModalLoopScope.
            const ModalLoopScope scope(loop);
            loop.exec();
        }
        try {
            RethrowDeferred();
        } catch (...) {
            ReportFailure(AsFailure(std::current_exception()));
        }
    }
}

}  // namespace ui
