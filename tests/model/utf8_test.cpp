#include <gtest/gtest.h>

#include "model/utf8.h"

namespace quillet {
namespace {

TEST(Utf8, WellFormedTextDecodesToItsUnitsAndBack)
{
    const std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // A é € 😀
    std::optional<std::u16string> units = unitsFromUtf8(text);
    ASSERT_TRUE(units);
    EXPECT_EQ(*units, u"A\u00E9\u20AC\U0001F600");
    EXPECT_EQ(readableUtf8(*units), text);
    EXPECT_EQ(unitsFromUtf8(""), u"");
}

TEST(Utf8, EveryIllFormedSequenceIsRefused)
{
    for (const char* bad : {"\xFF", "a\xC3", "\xE6\x97\x62", "\xC0\xAF", "\xE0\x80\x80", "\xED\xA0\x80",
                            "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\x80\xBF", "\xC3\x28"}) {
        EXPECT_EQ(unitsFromUtf8(bad), std::nullopt) << testing::PrintToString(std::string(bad));
        if (static_cast<unsigned char>(bad[0]) < 0x80) continue;
        std::size_t at = 0;
        EXPECT_EQ(decodeUtf8(bad, at), std::nullopt);
        EXPECT_EQ(at, 0u) << "a refused sequence is not passed over";
    }
}

TEST(Utf8, ReadableTextJoinsPairsAndShowsWhatCannotBeShown)
{
    EXPECT_EQ(readableUtf8(std::u16string(u"a\0b", 3)), "ab");
    EXPECT_EQ(readableUtf8(u"\xD83D\xDE00"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(readableUtf8(u"x\xD800y\xDC00"), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
}

}  // namespace
}  // namespace quillet
