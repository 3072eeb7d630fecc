#include "ledger/cp932.h"
#include "ledger/textcompare.h"

#include <gtest/gtest.h>

using ledger::FromCp932;
using ledger::ToCp932;

namespace {

TEST(Cp932, RoundTripsJapaneseText) {
    for (const char* text : {"食費", "ｶﾀｶﾅ", "①②", "ソ表能", "～", "abc", ""}) {
        EXPECT_EQ(FromCp932(ToCp932(text)), text) << text;
    }
    EXPECT_EQ(ToCp932("食費"), "\x90\x48\x94\xEF");
    EXPECT_EQ(ToCp932("ソ"), "\x83\x5C");
}

TEST(Cp932, RefusesTextWithoutCp932FormNamingTheCharacter) {
    try {
        ToCp932("ランチ🍣代");
        FAIL() << "no error";
    } catch (const ledger::Cp932Error& e) {
        EXPECT_EQ(e.character(), "🍣");
        EXPECT_NE(std::string(e.what()).find("🍣"), std::string::npos);
    }
    EXPECT_THROW(ToCp932("\xFF\xFE"), ledger::Cp932Error);  // not UTF-8
}

TEST(Cp932, InvalidBytesBecomeReplacementCharacters) {
    EXPECT_EQ(FromCp932("a\x81"), "a\xEF\xBF\xBD");          // lead byte at the end
    EXPECT_EQ(FromCp932("\x81\x20x"), "\xEF\xBF\xBD x");     // bad trail byte
    EXPECT_EQ(FromCp932("\xA0\x90\x48"), "\xEF\xBF\xBD食");  // unmapped single byte
}

TEST(TextCompare, IgnoresLatinCaseHalfAndFullWidth) {
    using ledger::EqualsIgnoreCase;
    EXPECT_TRUE(EqualsIgnoreCase("Coffee", "cOFFEE"));
    EXPECT_TRUE(EqualsIgnoreCase(ToCp932("ＡＢＣ"), ToCp932("ａｂｃ")));
    EXPECT_TRUE(EqualsIgnoreCase(ToCp932("Ωд"), ToCp932("ωД")));
    EXPECT_FALSE(EqualsIgnoreCase(ToCp932("ＡＢＣ"), "ABC"));
    EXPECT_FALSE(EqualsIgnoreCase(ToCp932("食費"), ToCp932("食")));
    EXPECT_LT(ledger::CompareIgnoreCase("apple", "Banana"), 0);
}

}  // namespace
