// The word reader of the text data files: what each read takes and the line it stands on.
#include "TextReader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextReader, NumbersNamesAndTheEndEachWithTheLineAndWordTheyMet) {
    std::string text = "12abc\r\n\tzero 0.5\n\n" + std::string(300, 'w') + "\nlast";
    std::FILE* file = fmemopen(text.data(), text.size(), "r");
    ASSERT_NE(file, nullptr);
    TextReader reader(file, nullptr);
    reader.keepWords();
    std::string seen;
    auto note = [&](const std::string& what) {
        seen += what + "@" + std::to_string(reader.last().line) + ":" +
                reader.last().text.substr(0, 8) + " ";
    };
    int number = 0;
    float real = 0;
    char name[MAX_NAME_LENGTH + 1];
    note(reader.readInt(number) ? std::to_string(number) : "-");
    note(std::to_string(reader.readName(name)) + name);
    note(reader.readFloat(real) ? std::to_string(real) : "-");
    note(std::to_string(reader.readName(name)) + name);
    note(reader.readFloat(real) ? std::to_string(real) : "-");
    note(std::to_string(reader.readName(name)) + name);
    note(std::to_string(reader.readName(name)) + name);
    note(std::to_string(reader.readName(name)));
    std::fclose(file);
    EXPECT_EQ(
        seen,
        "12@1:12abc 1abc@1:abc -@2:zero 1zero@2:zero 0.500000@2:0.5 0@4:wwwwwwww 1last@5:last "
        "-1@0: ");
}

}  // namespace
