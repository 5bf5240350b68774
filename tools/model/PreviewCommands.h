// The preview verbs of tovask-model: a model, or a character as a fight assembles it, drawn
// by the game's own code in four views and written as a PNG picture.
#pragma once

#include <cstdio>

// args: what follows the verb on the command line. Both return the exit
// status: 0 when the picture was written, 2 (with a message on stderr and
// nothing written) when it was not.
int previewModel(int count, const char* const* args);
int previewCharacter(int count, const char* const* args);

// The usage lines of the two verbs.
void previewUsage(FILE* out);
