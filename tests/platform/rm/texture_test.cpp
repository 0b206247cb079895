#include "platform/failure.h"
#include "scene_fixture.h"

#include <QTemporaryDir>

using namespace rm;
using namespace rm_test;

namespace {

TEST(Textures, ColourKeyClearsOnlyTexelsOfThatColour) {
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(0, 0, 255));
    picture.setPixel(1, 0, qRgb(0, 0, 254));
    const auto texture = Texture::FromImage(picture);
    EXPECT_EQ(qAlpha(texture->Picture().pixel(0, 0)), 255);
    texture->SetDecalTransparentColor(CreateColorRGB(0, 0, 1));
    texture->SetDecalTransparency(true);
    EXPECT_EQ(qAlpha(texture->Picture().pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(texture->Picture().pixel(1, 0)), 255);
    texture->SetDecalTransparency(false);
    EXPECT_EQ(qAlpha(texture->Picture().pixel(0, 0)), 255);
}

TEST(Textures, EveryLoadReadsTheFileAnew) {
    QTemporaryDir folder;
    const QString path = folder.filePath("logo.bmp");
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(path));
    Direct3DRM d3drm;
    d3drm.SetSearchPath(folder.path().toStdString());
    const auto first = d3drm.LoadTexture("\\logo.bmp");
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(path, "JPEG"));  // rewritten, now a JPEG under the same name
    const auto second = d3drm.LoadTexture(path.toStdString());
    EXPECT_EQ(first->GetWidth(), 4);
    EXPECT_GT(qRed(first->Picture().pixel(0, 0)), 200);
    EXPECT_GT(qBlue(second->Picture().pixel(0, 0)), 200);
    EXPECT_THROW(d3drm.LoadTexture("absent.bmp"), Failure);
    EXPECT_THROW(d3drm.LoadTexture(RM_FIXTURES "/two_frames.x"), Failure);
}

TEST(Textures, ColoursFromComponents) {
    EXPECT_EQ(CreateColorRGB(1, 0.5f, 0), 0xFFFF8000u);
    EXPECT_EQ(CreateColorRGB(2, -1, 0), 0xFFFF0000u);
}

}  // namespace
