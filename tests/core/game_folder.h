#pragma once

// A game folder of its own for a test: the generated data folders, copied, so that a test may change or spoil them. The
// game sees it as its executable's folder while the fixture lives.

#include <QTemporaryDir>

#include <string>

class GameFolder {
public:
    GameFolder();
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    std::string Path() const { return folder_.path().toStdString(); }
    std::string File(const std::string& relative) const { return Path() + "/" + relative; }

private:
    QTemporaryDir folder_;
};

// The DirectX root, the retained-mode object on the folder's media and the
// scene frames, as the game start has made them when a level is built.
void MakeLevelFrames(const GameFolder& folder);
