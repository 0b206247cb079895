#include "platform/rm/display.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace rm {

Display::Display(QWidget* host, int width, int height)
    : QWidget(host), picture_(width, height, QImage::Format_RGBA8888) {
    picture_.fill(Qt::black);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    if (host) {
        // Lies under the host's other children, such as a chat box.
        setGeometry(host->rect());
        lower();
        host->installEventFilter(this);
        show();
    } else {
        setWindowFlag(Qt::FramelessWindowHint);
        showFullScreen();
    }
}

void Display::Present() {
    lines_.clear();
    update();
}

void Display::TextOut(int x, int y, const QString& text) {
    lines_.push_back({x, y, text, QColor::fromRgb(textColor_ & 0xFFFFFF), font_});
    update();
}

void Display::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, picture_.size() != size());
    painter.drawImage(rect(), picture_);
    if (lines_.empty()) return;
    painter.scale(double(width()) / picture_.width(), double(height()) / picture_.height());
    for (const Line& line : lines_) {
        painter.setPen(line.color);
        painter.setFont(line.font);
        painter.drawText(QPoint(line.x, line.y + QFontMetrics(line.font).ascent()), line.text);
    }
}

bool Display::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return false;
}

}  // namespace rm
