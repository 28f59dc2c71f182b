#include "core/common/CodePage.h"

#include <gtest/gtest.h>

using namespace dorvan;

TEST(CodePage, SlovakLettersMapToTheirWindows1250Bytes)
{
    EXPECT_EQ(utf8ToCp1250("ľščťžýáíéúäôň"), std::string("\xBE\x9A\xE8\x9D\x9E\xFD\xE1\xED\xE9\xFA\xE4\xF4\xF2"));
    EXPECT_EQ(cp1250ToUtf8("\xBE\x9A\xE8\x9D\x9E"), "ľščťž");
    EXPECT_EQ(utf8ToCp1250("Miesto 1"), "Miesto 1");
}

TEST(CodePage, CharacterOutsideTheCodePageIsRefusedNotReplaced)
{
    EXPECT_EQ(utf8ToCp1250("ó€"), std::string("\xF3\x80"));
    EXPECT_THROW(utf8ToCp1250("Ærøskøbing"), CodePageError);
    EXPECT_THROW(utf8ToCp1250("東京"), CodePageError);
    EXPECT_THROW(utf8ToCp1250("\xFF\xFE"), CodePageError);  // not UTF-8
    EXPECT_THROW(cp1250ToUtf8("\x81"), CodePageError);       // undefined byte
}

TEST(CodePage, CharacterCountingAndCuttingWorkOnCharactersNotBytes)
{
    EXPECT_EQ(utf8Length("Žilina"), 6u);
    EXPECT_EQ(utf8Left("Žilina", 2), "Ži");
    EXPECT_EQ(utf8Left("ab", 5), "ab");
    EXPECT_EQ(utf8Left("", 0), "");
}
