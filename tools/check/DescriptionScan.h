// The fields of a description file located word by word, in the game's field order, with their
// lines.
#pragma once

#include <string>
#include <vector>

#include "DescriptionFiles.h"
#include "Findings.h"
#include "Words.h"

struct FieldShape {
    const char* label;
    FieldKind kind;
};

struct ScannedFields {
    std::vector<int> lines;  // per field: the line of its first word (or the last line read)
    bool complete = false;   // every field present and of its kind
};

// Walks the words of the file at path as the game's reader walks its fields,
// and reports at path: fields missing, words that are not of their field's
// kind, names over 254 characters, words left after the last field.
ScannedFields scanFields(const std::string& path, const std::vector<FieldShape>& fields,
                         Findings& findings);

template <typename Record, size_t N>
std::vector<FieldShape> shapesOf(const DescriptionField<Record> (&fields)[N]) {
    std::vector<FieldShape> shapes;
    for (const DescriptionField<Record>& f : fields) shapes.push_back({f.label, f.kind});
    return shapes;
}
