// "menu.jpg": the menu's night-time backdrop; its right-hand third stays dark for the menu's texts.
#pragma once

#include <string>

#include "Image.h"

Image paintMenuPicture();
bool writeMenuPicture(const std::string& path);
