#pragma once

// A temporary model folder for the loader tests, with the 3D services the
// loader uses and a small texture picture "skin.bmp".

#include "models/mdl.h"

#include <filesystem>
#include <string>

class ModelFolder {
public:
    ModelFolder();
    ~ModelFolder();
    ModelFolder(const ModelFolder&) = delete;
    ModelFolder& operator=(const ModelFolder&) = delete;

    void Write(const std::string& name, const std::string& text) const;
    const std::string& Path() const { return path_; }
    // Loads the description `name` of this folder into `model`.
    void Load(MDL& model, const std::string& name, bool weapon = false) const;

private:
    std::string path_;
};
