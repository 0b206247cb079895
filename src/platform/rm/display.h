#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace rm {

// The window that shows a device's picture: a child filling the window a
// clipper is bound to, or a full-screen window of its own. It scales the
// picture to its size and draws the lines of text written since the last
// present over it, in the picture's pixels.
class Display : public QWidget {
public:
    // With a host, the display fills it and follows its size; without, it is
    // a full-screen top-level window.
    Display(QWidget* host, int width, int height);

    // The picture, to be written in place by the presenter; its size is fixed.
    QImage& Picture() { return picture_; }
    // The picture changed: drop the text written over the last one and show it.
    void Present();

    void SetTextColor(uint32_t color) { textColor_ = color; }
    void SetTextFont(const QFont& font) { font_ = font; }
    // Draws `text` with its top-left corner at picture pixel (x, y) until the
    // next present.
    void TextOut(int x, int y, const QString& text);

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Line {
        int x, y;
        QString text;
        QColor color;
        QFont font;
    };
    QImage picture_;
    std::vector<Line> lines_;
    uint32_t textColor_ = 0xFFFFFFFF;
    QFont font_;
};

}  // namespace rm
