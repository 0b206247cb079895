// libFuzzer target over the model loader: arbitrary description (.qc) and
// reference/animation (.smd) text. The first byte picks the model's options;
// the rest up to the first NUL is the description "m.qc", the remainder the
// file "a.smd" that it may name. A load may fail with a Failure; it must not
// crash, hang or leak.

#include "core/game_state.h"
#include "models/mdl.h"
#include "platform/failure.h"
#include "platform/rm/direct3drm.h"

#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace {

const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "quellmar-models-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        QImage picture(2, 2, QImage::Format_RGB32);
        picture.fill(0);
        picture.save(QString::fromStdString(pattern + "/skin.bmp"), "BMP");
        return pattern;
    }();
    // Registered after the folder's name exists, so it runs before the name goes.
    static const bool removedAtExit = std::atexit([] {
                                          std::error_code ignored;
                                          std::filesystem::remove_all(Folder(), ignored);
                                      }) == 0;
    (void)removedAtExit;
    return folder;
}

void WriteFile(const std::string& name, std::string_view text) {
    std::ofstream(Folder() + "/" + name, std::ios::binary | std::ios::trunc)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t split = input.find('\0');
    WriteFile("m.qc", input.substr(0, split));
    WriteFile("a.smd", split == std::string_view::npos ? std::string_view() : input.substr(split + 1));

    D3DRM = std::make_shared<rm::Direct3DRM>();
    CheminJeu = Folder();
    IdModeleLocal = data[0] & 4 ? 1 : 0;
    MDL model;
    model.MultiMesh = data[0] & 1;
    model.Boite = data[0] & 2;
    try {
        model.Load(nullptr, "m.qc", Folder(), false);
    } catch (const Failure&) {
    }
    D3DRM.reset();
    return 0;
}
