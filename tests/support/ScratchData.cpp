// Scratch data folders for tests of the settings, lists and locator.
#include "ScratchData.h"

#include "DataLocator.h"

ScratchData::ScratchData() : savedDataDir_(developmentDataDir) {
    developmentDataDir = dev.path().c_str();
}

ScratchData::~ScratchData() {
    developmentDataDir = savedDataDir_;
}
