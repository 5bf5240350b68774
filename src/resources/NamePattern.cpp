// Checked printing of numbered file-name patterns.
#include "NamePattern.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int MAX_FIELD_DIGITS = 2;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Skips at most MAX_FIELD_DIGITS digits; false when there are more.
bool skipDigits(const char*& p) {
    int digits = 0;
    while (isDigit(*p)) {
        ++p;
        if (++digits > MAX_FIELD_DIGITS) return false;
    }
    return true;
}

// p points just past a '%'; true when an integer conversion follows, with p
// left just past it. '#' is not taken: it is undefined for %d.
bool parseIntegerConversion(const char*& p) {
    while (*p != '\0' && std::strchr("-+ 0", *p) != nullptr) ++p;
    if (!skipDigits(p)) return false;
    if (*p == '.') {
        ++p;
        if (!skipDigits(p)) return false;
    }
    if (*p != 'd' && *p != 'i') return false;
    ++p;
    return true;
}

}  // namespace

bool isNumberPattern(const char* pattern) {
    if (pattern == nullptr) return false;
    int conversions = 0;
    for (const char* p = std::strchr(pattern, '%'); p != nullptr; p = std::strchr(p, '%')) {
        ++p;
        if (*p == '%') {  // a literal percent sign
            ++p;
            continue;
        }
        if (!parseIntegerConversion(p) || ++conversions > 1) return false;
    }
    return conversions == 1;
}

bool numberedName(char* out, size_t size, const char* pattern, int number) {
    if (out == nullptr || size == 0) return false;
    out[0] = '\0';
    if (pattern == nullptr) return false;
    const int written = isNumberPattern(pattern) ? snprintf(out, size, pattern, number)
                                                 : snprintf(out, size, "%s", pattern);
    if (written >= 0 && static_cast<size_t>(written) < size) return true;
    out[0] = '\0';
    return false;
}

bool formatNumberedName(char* out, size_t size, const char* pattern, int number) {
    if (out == nullptr || size == 0 || pattern == nullptr)
        return numberedName(out, size, pattern, number);
    if (std::strchr(pattern, '%') != nullptr && !isNumberPattern(pattern))
        fprintf(stderr, "Name pattern \"%s\" is not a single number format, used as it is\n",
                pattern);
    if (numberedName(out, size, pattern, number)) return true;
    fprintf(stderr, "Name from pattern \"%s\" is too long\n", pattern);
    return false;
}
