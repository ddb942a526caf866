#include "platform/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {
constexpr std::int64_t Int64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t Int64Max = std::numeric_limits<std::int64_t>::max();
}  // namespace

TEST(BinaryText, LowBitsAsAnUnsignedNumber) {
    const struct {
        std::int64_t value;
        int width;
        std::string digits;
    } cases[] = {
        {5, 8, "101"},
        {0, 8, "0"},
        {71, 8, "1000111"},
        {200, 8, "11001000"},
        {-56, 8, "11001000"},
        {-1, 8, "11111111"},
        {256, 8, "0"},
        {0x1F0, 8, "11110000"},
        {2, 1, "0"},
        {-1, 64, std::string(64, '1')},
        {Int64Min, 64, "1" + std::string(63, '0')},
        {-1, 65, std::string(64, '1')},
        {5, 0, "0"},
        {5, -3, "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(binaryText(c.value, c.width), c.digits) << c.value << " width " << c.width;
    }
}

TEST(PadLeft, RightAlignsInExactlyWidthCharacters) {
    const struct {
        std::string text;
        int width;
        std::string pad;
        std::string result;
    } cases[] = {
        {"101", 8, "0", "00000101"},
        {"11001000", 8, "0", "11001000"},
        {"abcdefghij", 8, "0", "abcdefgh"},
        {"", 3, "0", "000"},
        {"ab", 4, "", "  ab"},
        {"ab", 4, "xyz", "xxab"},
        {"ab", 0, "0", ""},
        {"ab", -2, "0", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(padLeft(c.text, c.width, c.pad), c.result)
            << '"' << c.text << "\" width " << c.width << " pad \"" << c.pad << '"';
    }
}

TEST(MidText, SubstringFromAOneBasedStart) {
    const struct {
        std::int64_t start, length;
        std::string result;
    } cases[] = {
        {1, 2, "ab"}, {3, 3, "cde"},     {6, 3, "fgh"},     {9, 1, ""},
        {8, 5, "h"},  {0, 2, "ab"},      {-5, 3, "abc"},    {Int64Min, 2, "ab"},
        {1, 0, ""},   {2, -1, ""},       {Int64Max, 1, ""}, {1, Int64Max, "abcdefgh"},
        {4, 1, "d"},  {2, Int64Min, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(midText("abcdefgh", c.start, c.length), c.result)
            << "start " << c.start << " length " << c.length;
    }
    EXPECT_EQ(midText("", 1, 1), "");
}

TEST(DecimalText, DigitsWithASignForNegatives) {
    const struct {
        std::int64_t value;
        std::string text;
    } cases[] = {
        {0, "0"},
        {31, "31"},
        {-7, "-7"},
        {6912, "6912"},
        {Int64Max, "9223372036854775807"},
        {Int64Min, "-9223372036854775808"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decimalText(c.value), c.text);
    }
}

TEST(StringField, FieldsBetweenSeparators) {
    const struct {
        std::string text;
        std::int64_t index;
        std::string separator;
        std::string field;
    } cases[] = {
        {"a\nb", 1, "\n", "a"},    {"a\nb", 2, "\n", "b"},
        {"a\nb", 3, "\n", ""},     {"a\nb", 0, "\n", ""},
        {"a\nb", -1, "\n", ""},    {"abc", 1, "\n", "abc"},
        {"a\n\nb", 2, "\n", ""},   {"a\n\nb", 3, "\n", "b"},
        {"\na", 1, "\n", ""},      {"a\n", 2, "\n", ""},
        {"a\n", 3, "\n", ""},      {"", 1, "\n", ""},
        {"a,b;c", 2, ",;", "b;c"}, {"abc", 1, "", "abc"},
        {"abc", 2, "", ""},        {"/home/u/x.scr\n/tmp/y.scr\n", 1, "\n", "/home/u/x.scr"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stringField(c.text, c.index, c.separator), c.field)
            << '"' << c.text << "\" index " << c.index << " separator \"" << c.separator << '"';
    }
}

TEST(FilePart, UnderWindowsRulesBothSlashesSeparateAndQuotesEndTheName) {
    const struct {
        std::string path, part;
    } cases[] = {
        {"C:\\dir\\file.scr", "file.scr"},
        {"/home/u/pic.scr", "pic.scr"},
        {"pic.scr", "pic.scr"},
        {"a/b\\c", "c"},
        {"a\\b/c", "c"},
        {"C:\\dir\\", ""},
        {"dir/", ""},
        {"", ""},
        {"\"C:\\dir\\file.scr\"", "file.scr"},
        {"\"file.scr\" more", "file.scr"},
        {"\"", ""},
        {"dir/na\"me", "na"},
        {"\"/x/y\"", "y"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(filePart(c.path, PathRules::Windows), c.part) << c.path;
    }
}

// On POSIX a backslash and a double quote are ordinary bytes of a name: names
// that differ only there must keep differing, or the files made from them
// would overwrite each other.
TEST(FilePart, UnderPosixRulesOnlyTheSlashSeparates) {
    const struct {
        std::string path, part;
    } cases[] = {
        {"/home/u/pic.scr", "pic.scr"},
        {"pic.scr", "pic.scr"},
        {"dir/", ""},
        {"", ""},
        {"/", ""},
        {"back\\slash.scr", "back\\slash.scr"},
        {"a\\b/c", "c"},
        {"a/b\\c", "b\\c"},
        {"say \"hi\".scr", "say \"hi\".scr"},
        {"\"quoted.scr\"", "\"quoted.scr\""},
        {"dir/na\"me", "na\"me"},
        {"C:\\dir\\file.scr", "C:\\dir\\file.scr"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(filePart(c.path, PathRules::Posix), c.part) << c.path;
    }
}

TEST(FilePart, FollowsTheRulesOfTheSystemItIsBuiltFor) {
#ifdef _WIN32
    EXPECT_EQ(NativePathRules, PathRules::Windows);
#else
    EXPECT_EQ(NativePathRules, PathRules::Posix);
#endif
    EXPECT_EQ(filePart("a\\b"), filePart("a\\b", NativePathRules));
}
