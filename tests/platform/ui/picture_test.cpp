#include "platform/ui/picture.h"
#include "platform/failure.h"
#include "platform/ui/form.h"
#include "platform/ui/image.h"
#include "platform/ui/picture_box.h"
#include "support/ui_events.h"

#include <QImage>
#include <QTemporaryDir>

#include <fstream>
#include <string>

namespace {

class Pictures : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        QImage image(8, 4, QImage::Format_RGB32);
        image.fill(QColor(10, 20, 30));
        image.setPixelColor(7, 3, QColor(200, 100, 50));
        jpegless = Path("source.png");
        ASSERT_TRUE(image.save(QString::fromStdString(jpegless)));
    }
    std::string Path(const char* name) const { return folder.filePath(name).toStdString(); }

    QTemporaryDir folder;
    std::string jpegless;
};

class GameWindow : public ui::Form {
public:
    GameWindow() : ui::Form("Form1") {}
    ui::PictureBox img{*this, "img"};
    ui::Image Image3{*this, "Image3"};
    ui::Image Image4{*this, "Image4"};

protected:
    void Design() override {
        Image3.Move(150, 2730, 2790, 2820);
        Image3.SetStretch(true);
        Image4.Move(3720, 3360, 150, 150);
    }
};

TEST_F(Pictures, PictureHandedToAnotherControlIsSavedAsAWindowsBitmap) {
    GameWindow window;
    window.img.SetPicture(ui::LoadPicture(jpegless));
    window.Image3.SetPicture(window.img.Picture());
    window.Image4.SetPicture(window.img.Picture());
    EXPECT_FLOAT_EQ(window.Image3.Width(), 2790);    // stretched: keeps its size
    EXPECT_FLOAT_EQ(window.Image4.Width(), 8 * 15);  // not stretched: the picture's size

    const std::string saved = Path("logo.bmp");
    ui::SavePicture(window.Image3.Picture(), saved);
    std::ifstream file(saved, std::ios::binary);
    char magic[2] = {};
    file.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM");
    const QImage back(QString::fromStdString(saved));
    EXPECT_EQ(back.size(), QSize(8, 4));
    EXPECT_EQ(back.pixelColor(7, 3), QColor(200, 100, 50));

    window.Unload();
    EXPECT_TRUE(window.Image3.Picture().IsEmpty());  // a reloaded form starts from its design
}

TEST_F(Pictures, BadFilesFailWithTheirNumbers) {
    const auto numberOf = [](auto&& statement) {
        try {
            statement();
        } catch (const Failure& failure) {
            return failure.Number();
        }
        return 0;
    };
    std::ofstream(Path("broken.bmp")) << "BM not really";
    EXPECT_EQ(numberOf([&] { ui::LoadPicture(Path("missing.bmp")); }), 53);
    EXPECT_EQ(numberOf([&] { ui::LoadPicture(Path("broken.bmp")); }), 481);
    EXPECT_EQ(numberOf([&] { ui::SavePicture(ui::Picture(), Path("empty.bmp")); }), 481);
    EXPECT_EQ(numberOf([&] { ui::SavePicture(ui::LoadPicture(jpegless), Path("no/such/folder/x.bmp")); }), 75);
    EXPECT_TRUE(ui::LoadPicture("").IsEmpty());
}

}  // namespace
