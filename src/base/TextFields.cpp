// Bounded field readers: a long word is skipped whole, never split or overflowed.
#include "TextFields.h"

#include <cctype>

namespace {

void skipSpace(std::FILE* file) {
    int c;
    while ((c = std::fgetc(file)) != EOF)
        if (!std::isspace(c)) {
            std::ungetc(c, file);
            return;
        }
}

}  // namespace

int readName(std::FILE* file, char* out, const char* source) {
    out[0] = '\0';
    skipSpace(file);
    int length = 0;
    bool tooLong = false;
    int c;
    while ((c = std::fgetc(file)) != EOF && !std::isspace(c)) {
        if (length < MAX_NAME_LENGTH)
            out[length] = static_cast<char>(c);
        else
            tooLong = true;
        ++length;
    }
    if (c != EOF) std::ungetc(c, file);
    skipSpace(file);
    if (length == 0) return EOF;
    if (tooLong) {
        out[0] = '\0';
        if (source)
            std::fprintf(stderr, "Name longer than %d characters skipped in file %s\n",
                         MAX_NAME_LENGTH, source);
        return 0;
    }
    out[length] = '\0';
    return 1;
}

void readInt(std::FILE* file, int& value) {
    if (std::fscanf(file, "%d", &value) == 1) skipSpace(file);
}

void readFloat(std::FILE* file, float& value) {
    if (std::fscanf(file, "%f", &value) == 1) skipSpace(file);
}
