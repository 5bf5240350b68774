// The name probably meant by one the game does not find: letter case, 8.3 names either way, and
// spellings up to 1, 2 or 3 letters off in names of up to 4, 10 and more letters.
#include "DataSearch.h"

#include <gtest/gtest.h>

#include <sstream>

#include "ScratchData.h"

TEST(DataSearch, TheNameProbablyMeantWithinEachKindsLimits) {
    const struct {
        const char* asked;
        const char* present;  // in textures/, between blanks
        const char* meant;    // "": none
    } cases[] = {
        {"sky.bmp", "sky2.bmp SKY.bmp", "textures/SKY.bmp differs only in case"},
        {"abcd", "abxd", "textures/abxd is the closest name"},  // 4 letters: 1 off
        {"abcd", "axyd", ""},
        {"abcd", "abcde", "textures/abcde is the closest name"},
        {"abcd", "abcdef", ""},
        {"abcde", "axyde", "textures/axyde is the closest name"},  // 5 to 10 letters: 2 off
        {"abcde", "xyzde", ""},
        {"abcdefghij", "abcdefghxy", "textures/abcdefghxy is the closest name"},
        {"abcdefghij", "abcdefgxyz", ""},
        {"abcdefghijk", "abcdefghxyz", "textures/abcdefghxyz is the closest name"},  // 3 off
        {"abcdefghijk", "abcdefgwxyz", ""},
        {"abcdefgh", "abcaafgh abcdxfgh abcdyfgh", "textures/abcdxfgh is the closest name"},
        {"skin4.bmp", "skin1.bmp skin12.bmp", ""},  // numbers differ
        {"myskin_large.bmp", "myskin_l.bmp", "textures/myskin_l.bmp is this name cut to 8.3"},
        {"myskin_large.bmp", "MYSKIN~1.BMP", "textures/MYSKIN~1.BMP is this name cut to 8.3"},
        {"my skin.v2.bmp", "myskin~12.bmp myskin~1.bmp",
         "textures/myskin~1.bmp is this name cut to 8.3"},
        {"photo.jpeg", "photo.jpe", "textures/photo.jpe is this name cut to 8.3"},
        {"myskin~1.bmp", "myskin_large.bmp",
         "textures/myskin_large.bmp is the name this 8.3 name was cut from"},
        {"abcdefgh.bmp", "abcdef~1.bmp", "textures/abcdef~1.bmp is the closest name"},
        {"abcdefghi.bmp", "abcdefgh.bmp", "textures/abcdefgh.bmp is this name cut to 8.3"},
        {"abcdefghijk.bmp", "~1.bmp abcdefg~1.bmp abc~x.bmp abcdef~.bmp abcdefgh.tga", ""},
        {"readme.txt", "readme.tx/", ""},  // a folder is no file
    };
    for (const auto& c : cases) {
        ScratchData data;
        std::istringstream present(c.present);
        for (std::string name; present >> name;)
            data.work.write("textures/" + name + (name.back() == '/' ? ".keep" : ""), "");
        DataSearch search;
        EXPECT_EQ(search.nearName(c.asked).text(), c.meant) << c.asked;
    }
}
