// What every part of the check shares: the findings, the data search and the catalogues of files.
#pragma once

#include "DataSearch.h"
#include "Findings.h"
#include "ModelCatalog.h"
#include "TextureCatalog.h"

struct CheckContext {
    Findings& findings;
    DataSearch& search;
    TextureCatalog& textures;
    ModelCatalog& models;
};
