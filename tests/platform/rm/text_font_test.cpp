// The font of text over the picture.

#include "platform/rm/text_font.h"

#include <gtest/gtest.h>

#include <QFontInfo>

namespace {

TEST(TextFont, AFamilyTheSystemLacksIsTheBundledBoldSans) {
    const QFont font = rm::TextFont("No Such Window Font", 10);
    EXPECT_EQ(QFontInfo(font).family(), "DejaVu Sans");
    EXPECT_TRUE(QFontInfo(font).bold());
    EXPECT_EQ(font.pointSize(), 10);
    EXPECT_EQ(rm::TextFont("No Such Window Font", 0).pointSize(), 10);
    EXPECT_EQ(rm::TextFont("No Such Window Font", 14).pointSize(), 14);
}

TEST(TextFont, AFamilyTheSystemHasIsKept) {
    EXPECT_EQ(QFontInfo(rm::TextFont("DejaVu Sans Mono", 12)).family(), "DejaVu Sans Mono");
}

}  // namespace
