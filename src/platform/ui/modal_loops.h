#pragma once

class QEventLoop;

namespace ui {

// The event loops that the game's code waits in (modal shows and Run), so
// that a deferred exception can end them all.
class ModalLoopScope {
public:
    explicit ModalLoopScope(QEventLoop& loop);
    ~ModalLoopScope();
    ModalLoopScope(const ModalLoopScope&) = delete;
    ModalLoopScope& operator=(const ModalLoopScope&) = delete;

private:
    QEventLoop& loop_;
};

void ExitModalLoops();

}  // namespace ui
