#include "platform/ui/modal_loops.h"

#include <QEventLoop>

#include <algorithm>
#include <vector>

namespace ui {
namespace {
std::vector<QEventLoop*>& Loops() {
    static std::vector<QEventLoop*> loops;
    return loops;
}
}  // namespace

ModalLoopScope::ModalLoopScope(QEventLoop& loop) : loop_(loop) { Loops().push_back(&loop); }

ModalLoopScope::~ModalLoopScope() { std::erase(Loops(), &loop_); }

void ExitModalLoops() {
    for (QEventLoop* loop : Loops()) loop->exit();
}

}  // namespace ui
