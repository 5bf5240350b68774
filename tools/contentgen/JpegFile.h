// Writes an Image as a baseline JPEG with libjpeg.
#pragma once

#include <string>

#include "Image.h"

bool saveJpeg(const Image& image, const std::string& path, int quality);
