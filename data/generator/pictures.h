#pragma once

#include <string>

#include "picture.h"

// The pictures that windows hold from their design, compiled into the
// program as Qt resources, and the logo bitmaps of the corridor level, which
// are the same pictures (the game rewrites them from its windows).

namespace gen {

Picture LoadingPicture();       // game window Image1, 512 x 256
Picture LoadingBanner();        // game window Image2, 512 x 128
Picture SplashPicture();        // splash picture 0, 256 x 250
Picture TeamPicture(int team);  // splash pictures 1 (team 0) and 2 (team 1), 256 x 256

// media/logo.bmp, logo2.bmp, logo3.bmp, logo4.bmp.
void WriteLogos(const std::string& media);
// The resource pictures under `folder`, and `folder`/quellmar_data.qrc
// listing them under the prefix "/pictures".
void WriteWindowPictures(const std::string& folder);

}  // namespace gen
