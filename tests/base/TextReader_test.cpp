// The word reader of the text data files (what each read takes, the line it stands on, the
// longest name) and the text helpers every layer shares.
#include "TextReader.h"

#include <gtest/gtest.h>

#include <string>

#include "CaptureOutput.h"
#include "Text.h"

namespace {

TEST(TextReader, NumbersNamesAndTheEndEachWithTheLineAndWordTheyMet) {
    std::string text = "12abc\r\n\tzero 0.5\n\nw\nlast";
    std::FILE* file = fmemopen(text.data(), text.size(), "r");
    ASSERT_NE(file, nullptr);
    TextReader reader(file, nullptr);
    reader.keepWords();
    std::string seen;
    auto note = [&](const std::string& what) {
        seen += what + "@" + std::to_string(reader.last().line) + ":" + reader.last().text + " ";
    };
    int number = 0;
    float real = 7;
    char name[MAX_NAME_LENGTH + 1];
    note(reader.readInt(number) ? std::to_string(number) : "-");
    note(std::to_string(reader.readName(name)) + name);
    note(reader.readFloat(real) ? std::to_string(real) : "-");
    note(std::to_string(number) + "," + std::to_string(real));  // a failed read keeps the value
    note(std::to_string(reader.readName(name)) + name);
    note(reader.readFloat(real) ? std::to_string(real) : "-");
    note(std::to_string(reader.readName(name)) + name);
    note(std::to_string(reader.readName(name)) + name);
    note(std::to_string(reader.readName(name)));
    note(reader.readInt(number) ? "+" : "-");
    std::fclose(file);
    EXPECT_EQ(seen,
              "12@1:12abc 1abc@1:abc -@2:zero 12,7.000000@2:zero 1zero@2:zero 0.500000@2:0.5 "
              "1w@4:w 1last@5:last -1@0: -@0: ");
}

// Names of up to 254 characters are read whole; a longer word is skipped whole with a
// message naming the file, or silently when the reader has no name for it. The word noted
// for tools keeps its first 255 characters.
TEST(TextReader, TheLongestNameAndTheFirstOneTooLong) {
    struct Case {
        int length;
        const char* source;
        int result;
        std::string err;
        size_t kept;
    };
    const std::string skipped = "Name longer than 254 characters skipped in file f.chr\n";
    const Case cases[] = {
        {254, "f.chr", 1, "", 254}, {255, "f.chr", 0, skipped, 255}, {256, nullptr, 0, "", 255}};
    for (const Case& c : cases) {
        std::string text = std::string(c.length, 'n') + "\nnext";
        std::FILE* file = fmemopen(text.data(), text.size(), "r");
        TextReader reader(file, c.source);
        reader.keepWords();
        char name[MAX_NAME_LENGTH + 1];
        int result = 0;
        EXPECT_EQ(captureOutput([&] { result = reader.readName(name); }).err, c.err) << c.length;
        EXPECT_EQ(result, c.result) << c.length;
        EXPECT_EQ(std::string(name), c.result ? text.substr(0, c.length) : "") << c.length;
        EXPECT_EQ(reader.last().text, std::string(c.kept, 'n')) << c.length << ": the word noted";
        EXPECT_EQ(reader.readName(name), 1) << c.length << ": the next word";
        EXPECT_STREQ(name, "next") << c.length;
        std::fclose(file);
    }
}

TEST(Text, FormatCutsPast1023BytesAndWholeNumbersStayWithinInt) {
    const std::string longest(1023, 'f');
    EXPECT_EQ(format("%s", longest.c_str()), longest);
    EXPECT_EQ(format("%s!", longest.c_str()), longest) << "one byte past the buffer is cut";
    EXPECT_EQ(format("%d %s", 7, "x"), "7 x");
    std::string got;  // each word's value, "!" after one refused (the value left as it was)
    for (const char* word : {"2147483647", "2147483648", "-2147483648", "-2147483649", "-12",
                             "12abc", "", "99999999999999999999"}) {
        int value = 99;
        got +=
            wholeNumber(word, value) ? std::to_string(value) + " " : std::to_string(value) + "! ";
    }
    EXPECT_EQ(got, "2147483647 99! -2147483648 99! -12 99! 99! 99! ");
    EXPECT_EQ(lowered("@AZ[`az{\xc4"), "@az[`az{\xc4") << "only A to Z are lowered";
}

}  // namespace
