// Lookup of the creature constants by index.
#include "CreatureType.h"

#include <cstdio>

const CreatureType& creatureTypeFor(int index) {
    if (index < 0 || index >= CREATURE_TYPE_COUNT) {
        fprintf(stderr, "Unknown creature type %d, using 0\n", index);
        return creatureTypes[0];
    }
    return creatureTypes[index];
}
