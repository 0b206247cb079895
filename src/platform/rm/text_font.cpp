#include "platform/rm/text_font.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace rm {
namespace {
constexpr const char* BundledFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr int32_t DefaultPoints = 10;

QFont BundledFont() {
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(BundledFontFile);
        const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString("DejaVu Sans") : families.first();
    }();
    QFont font(family);
    font.setBold(true);
    return font;
}
}  // namespace

QFont TextFont(const std::string& family, int32_t points) {
    // Callers set the same font for every line of every frame. The font is
    // kept beyond the application object, so it is never destroyed.
    static std::string lastFamily;
    static int32_t lastPoints = 0;
    static QFont* const last = new QFont;
    if (family == lastFamily && points == lastPoints && lastPoints != 0) return *last;
    const QString name = QString::fromStdString(family);
    QFont font = QFontDatabase::hasFamily(name) ? QFont(name) : BundledFont();
    font.setPointSize(points > 0 ? points : DefaultPoints);
    lastFamily = family;
    lastPoints = points;
    *last = font;
    return font;
}

}  // namespace rm
