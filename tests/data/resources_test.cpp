// The windows' pictures are compiled into the program under the names that
// data/resources.md lists, at their designed sizes.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <fstream>
#include <regex>
#include <sstream>

#include "data_files.h"

namespace {

struct Listed {
    std::string name;
    int width, height;
};

// The table rows of the document: | `:/pictures/...` | width x height | ...
std::vector<Listed> ListedResources() {
    std::ifstream file(std::string(QUELLMAR_TEST_SOURCE_DIR) + "/../data/resources.md");
    std::stringstream text;
    text << file.rdbuf();
    const std::string s = text.str();
    std::vector<Listed> listed;
    const std::regex row("\\| `(:/pictures/[^`]+)` \\| (\\d+) x (\\d+) \\|");
    for (auto it = std::sregex_iterator(s.begin(), s.end(), row); it != std::sregex_iterator(); ++it)
        listed.push_back({(*it)[1], std::stoi((*it)[2]), std::stoi((*it)[3])});
    return listed;
}

}  // namespace

TEST(Resources, EveryListedPictureIsCompiledInAtItsSize) {
    const std::vector<Listed> listed = ListedResources();
    EXPECT_EQ(listed.size(), 52u);
    for (const Listed& r : listed) {
        ASSERT_TRUE(QFile::exists(QString::fromStdString(r.name))) << r.name;
        const QImage image(QString::fromStdString(r.name));
        EXPECT_EQ(image.width(), r.width) << r.name;
        EXPECT_EQ(image.height(), r.height) << r.name;
    }
}
