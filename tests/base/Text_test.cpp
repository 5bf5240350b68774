// The text helpers every layer shares: bounded formatting, whole numbers, lowering.
#include "Text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Text, FormatCutsPast1023BytesAndWholeNumbersStayWithinInt) {
    const std::string longest(1023, 'f');
    EXPECT_EQ(format("%s", longest.c_str()), longest);
    EXPECT_EQ(format("%s!", longest.c_str()), longest) << "one byte past the buffer is cut";
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
