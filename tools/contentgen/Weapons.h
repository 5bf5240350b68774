// The five guns "w1.3ds" to "w5.3ds", modelled in the creature's frame along -z at muzzle height 4.
#pragma once

#include <string>

bool writeWeapons(const std::string& modelDir);
