// Placeholder until models land.
#include "Model.h"

Model::~Model() = default;
bool Model::load(const char*, DisplayListMode, bool, bool, bool) { return false; }
bool Model::load(const char*, const char*, const char*, DisplayListMode, bool, bool, bool) {
    return false;
}
void Model::draw(float, float, float) {}
void Model::advance(int) {}
void Model::setTime(int) {}
void Model::resetTime() {}
