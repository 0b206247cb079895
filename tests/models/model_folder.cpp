#include "model_folder.h"

#include "core/game_state.h"
#include "platform/rm/direct3drm.h"

#include <QImage>

#include <cstdlib>
#include <fstream>

ModelFolder::ModelFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quellmar-models-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    picture.save(QString::fromStdString(path_ + "/skin.bmp"), "BMP");
    picture.save(QString::fromStdString(path_ + "/other.bmp"), "BMP");
    D3DRM = std::make_shared<rm::Direct3DRM>();
    CheminJeu = path_;
}

ModelFolder::~ModelFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void ModelFolder::Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ + "/" + name, std::ios::binary) << text;
}

void ModelFolder::Load(MDL& model, const std::string& name, bool weapon) const {
    model.Load(nullptr, name, path_, weapon);
}
