// A text data file read word by word as formatted input reads it, counting lines as it goes.
#pragma once

#include <cstdio>
#include <string>

// Longest name a list or description file may hold; buffers have one more for the zero.
constexpr int MAX_NAME_LENGTH = 254;

// Reads the settings file, the content lists and the description files. Every
// read first skips white space (isspace, as "%s" and "%d" do); the lines it
// counts let tools say where each value stands.
class TextReader {
public:
    // file stays open and the caller's; source names it in messages (null: none).
    TextReader(std::FILE* file, const char* source) : file_(file), source_(source) {}

    // Reads one word the way "%s\n" does (leading and trailing white space
    // skipped) into out, which holds MAX_NAME_LENGTH + 1 characters. Returns 1
    // for a word, 0 for a word longer than MAX_NAME_LENGTH (consumed whole, out
    // left empty, a message naming source on stderr), EOF at the end of the file.
    int readName(char* out);
    // "%d\n" and "%f\n": false, the value as it was, when the file does not
    // supply one. A number is read as far as it goes ("12abc" gives 12 and
    // leaves "abc" for the next read).
    bool readInt(int& value);
    bool readFloat(float& value);

    // True when only white space is left; skips it.
    bool atEnd();
    // The line of the next character, from 1.
    int line() const { return line_; }

    // The word the last read met, for tools that report on it: the line it
    // starts on (0: the file had ended) and, once keepWords was called, its
    // first MAX_NAME_LENGTH + 1 characters.
    struct Word {
        int line = 0;
        std::string text;
    };
    const Word& last() const { return last_; }
    void keepWords() { keepWords_ = true; }

private:
    int get();
    void unget(int c);
    // Skips white space and notes the word ahead in last_.
    void startWord();

    std::FILE* file_;
    const char* source_;
    int line_ = 1;
    bool keepWords_ = false;
    Word last_;
};
