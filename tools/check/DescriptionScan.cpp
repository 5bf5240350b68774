// Field-by-field reading of description files: presence, kind and line of every field.
#include "DescriptionScan.h"

#include <cstdlib>

#include "ByteOrderMark.h"
#include "Text.h"

namespace {

bool decimalNumber(const std::string& w) {
    char* end = nullptr;
    std::strtof(w.c_str(), &end);
    return end != w.c_str() && *end == '\0';
}

template <typename Record, size_t N>
std::vector<int> judge(TextReader& reader, const std::string& path, Record& record,
                       const DescriptionField<Record> (&fields)[N], Findings& findings) {
    reader.keepWords();
    std::vector<int> lines;
    int lastLine = 1;
    bool judged = true;
    int whole;
    for (size_t i = 0; i < N; ++i) {
        const DescriptionField<Record>& f = fields[i];
        const bool ended = reader.atEnd();
        if (!ended) lines.push_back(reader.line());
        const bool read = !ended && readField(reader, record, f);
        const TextReader::Word& w = reader.last();
        if (ended || (!read && w.line == 0)) {  // the colour can end part way
            if (!ended) lastLine = lines.back();
            lines.resize(N, lastLine);
            findings.error(path, lastLine,
                           format("the file ends before the %s (field %zu of %zu): the game "
                                  "leaves it and every later field empty",
                                  f.label, i + 1, N));
            return lines;
        }
        lastLine = w.line;
        if (!judged) continue;
        if (f.kind == FieldKind::Name && !read) {
            findings.error(
                path, w.line,
                format("the %s is longer than 254 characters: the game leaves it empty", f.label));
        } else if (f.kind == FieldKind::Int && (!read || !wholeNumber(w.text, whole))) {
            findings.error(path, w.line,
                           format("the %s \"%s\" is not a whole number: the game reads what it "
                                  "can and every later field shifts",
                                  f.label, w.text.c_str()));
            judged = false;
        } else if (f.kind != FieldKind::Name && f.kind != FieldKind::Int &&
                   (!read || !decimalNumber(w.text))) {
            findings.error(path, w.line,
                           format("the %s \"%s\" is not a number: the game reads what it can "
                                  "and every later field shifts",
                                  f.label, w.text.c_str()));
            judged = false;
        }
    }
    if (judged && !reader.atEnd()) {
        char word[MAX_NAME_LENGTH + 1];
        reader.readName(word);
        findings.warning(path, reader.last().line,
                         format("the words from \"%.40s\" on, after the %s, are not read",
                                reader.last().text.c_str(), fields[N - 1].label));
    }
    return lines;
}

// What the game makes of a file that starts with the mark: number fields it
// cannot read (they keep 0) until a name field takes the mark and the next
// word. An error when fields shift, a warning when only a name is spoilt.
template <typename Record, size_t N>
void reportMark(std::FILE* file, const std::string& path, const char* kind,
                const DescriptionField<Record> (&fields)[N], Findings& findings) {
    Record record;
    TextReader reader(file, nullptr);
    std::string unread;
    size_t shift = 0;
    for (const DescriptionField<Record>& f : fields) {
        if (readField(reader, record, f)) {
            if (f.kind != FieldKind::Name) break;  // a mark before a number is never read
            const std::string word = shownWord(record.*f.text);
            std::string consequence;
            if (shift == 0)
                consequence = format(
                    "the %s's %s reads \"%s\" (the menu shows three junk characters before %s)",
                    kind, f.label, word.c_str(), record.*f.text + 3);
            else
                consequence = format(
                    "it cannot read the %s as %s (left 0) and takes \"%s\" for "
                    "the %s: every later field shifts by %zu",
                    unread.c_str(), shift > 1 ? "numbers" : "a number", word.c_str(), f.label,
                    shift);
            findings.add(path, 1, shift == 0 ? Severity::Warning : Severity::Error,
                         markFinding(consequence));
            return;
        }
        unread += (shift++ ? " nor the " : "") + std::string(f.label);
    }
}

template <typename Record, size_t N>
std::vector<int> readAndJudge(const std::string& path, const char* kind, Record& record,
                              const DescriptionField<Record> (&fields)[N], Findings& findings) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) {
        findings.error(path, 0, format("cannot be opened: the game skips this %s", kind));
        return {};
    }
    if (skipMark(file)) {
        std::rewind(file);
        reportMark(file, path, kind, fields, findings);
        std::rewind(file);
        skipMark(file);
    }
    std::snprintf(record.filePath, sizeof record.filePath, "%s", path.c_str());
    TextReader reader(file, nullptr);
    std::vector<int> lines = judge(reader, path, record, fields, findings);
    std::fclose(file);
    return lines;
}

}  // namespace

std::vector<int> readFields(const std::string& path, CharacterInfo& record, Findings& findings) {
    return readAndJudge(path, "character", record, CHARACTER_FIELDS, findings);
}

std::vector<int> readFields(const std::string& path, MapInfo& record, Findings& findings) {
    return readAndJudge(path, "map", record, MAP_FIELDS, findings);
}
