// Field-by-field scan of description files: presence, kind and position of every field.
#include "DescriptionScan.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

// Words the scan looks at: the fields and a few beyond, to tell of leftovers.
constexpr size_t MAX_SCANNED_WORDS = 64;

bool wholeNumber(const std::string& w) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(w.c_str(), &end, 10);
    return errno == 0 && end != w.c_str() && *end == '\0' && value >= INT_MIN && value <= INT_MAX;
}

bool decimalNumber(const std::string& w) {
    char* end = nullptr;
    std::strtof(w.c_str(), &end);
    return end != w.c_str() && *end == '\0';
}

int wordsOf(FieldKind kind) {
    return kind == FieldKind::Colour ? 4 : 1;
}

}  // namespace

ScannedFields scanFields(const std::string& path, const std::vector<FieldShape>& fields,
                         Findings& findings) {
    ScannedFields result;
    const WordFile file = readWords(path, MAX_SCANNED_WORDS);
    const std::vector<Word>& words = file.words;
    size_t next = 0;
    bool sound = true;
    for (size_t i = 0; i < fields.size(); ++i) {
        const FieldShape& f = fields[i];
        const int lastLine = words.empty() ? 1 : words.back().line;
        if (next + wordsOf(f.kind) > words.size()) {
            result.lines.resize(fields.size(), lastLine);
            findings.error(path, lastLine,
                           format("the file ends before the %s (field %zu of %zu): the game "
                                  "leaves it and every later field empty",
                                  f.label, i + 1, fields.size()));
            return result;
        }
        result.lines.push_back(words[next].line);
        for (int k = 0; k < wordsOf(f.kind); ++k, ++next) {
            const Word& w = words[next];
            if (w.tooLong && f.kind == FieldKind::Name) {
                findings.error(path, w.line,
                               format("the %s is longer than 254 characters: the game leaves "
                                      "it empty",
                                      f.label));
                sound = false;
            } else if (f.kind == FieldKind::Int && !wholeNumber(w.text)) {
                findings.error(path, w.line,
                               format("the %s \"%s\" is not a whole number: the game reads what "
                                      "it can and every later field shifts",
                                      f.label, w.text.c_str()));
                sound = false;
            } else if ((f.kind == FieldKind::Float || f.kind == FieldKind::Colour) &&
                       !decimalNumber(w.text)) {
                findings.error(path, w.line,
                               format("the %s \"%s\" is not a number: the game reads what it "
                                      "can and every later field shifts",
                                      f.label, w.text.c_str()));
                sound = false;
            }
        }
    }
    if (next < words.size())
        findings.warning(path, words[next].line,
                         format("the words from \"%.40s\" on, after the %s, are not read",
                                words[next].text.c_str(), fields.back().label));
    result.complete = sound;
    return result;
}
