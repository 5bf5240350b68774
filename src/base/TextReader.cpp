// Bounded word reading with line counts: a long word is skipped whole, never split or overflowed.
#include "TextReader.h"

#include <cctype>

int TextReader::get() {
    const int c = std::fgetc(file_);
    if (c == '\n') ++line_;
    return c;
}

void TextReader::unget(int c) {
    if (c == EOF) return;
    if (c == '\n') --line_;
    std::ungetc(c, file_);
}

bool TextReader::atEnd() {
    int c;
    while ((c = get()) != EOF)
        if (!std::isspace(c)) {
            unget(c);
            return false;
        }
    return true;
}

void TextReader::startWord() {
    const bool end = atEnd();
    last_.line = end ? 0 : line_;
    last_.text.clear();
    if (end || !keepWords_) return;
    // Looked at and put back: scanf below reads the same characters. Numbers
    // hold no line break, so the line count stays true through them.
    const long at = std::ftell(file_);
    int c;
    while (last_.text.size() <= size_t(MAX_NAME_LENGTH) && (c = std::fgetc(file_)) != EOF &&
           !std::isspace(c))
        last_.text += static_cast<char>(c);
    std::fseek(file_, at, SEEK_SET);
}

int TextReader::readName(char* out) {
    out[0] = '\0';
    startWord();
    int length = 0;
    bool tooLong = false;
    int c;
    while ((c = get()) != EOF && !std::isspace(c)) {
        if (length < MAX_NAME_LENGTH)
            out[length] = static_cast<char>(c);
        else
            tooLong = true;
        ++length;
    }
    unget(c);
    atEnd();
    if (length == 0) return EOF;
    if (tooLong) {
        out[0] = '\0';
        if (source_)
            std::fprintf(stderr, "Name longer than %d characters skipped in file %s\n",
                         MAX_NAME_LENGTH, source_);
        return 0;
    }
    out[length] = '\0';
    return 1;
}

bool TextReader::readInt(int& value) {
    startWord();
    if (std::fscanf(file_, "%d", &value) != 1) return false;
    atEnd();
    return true;
}

bool TextReader::readFloat(float& value) {
    startWord();
    if (std::fscanf(file_, "%f", &value) != 1) return false;
    atEnd();
    return true;
}
