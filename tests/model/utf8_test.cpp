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

// Each piece as "code point/size", a lone surrogate marked with "!".
std::string piecesOf(std::u16string_view units)
{
    std::string pieces;
    std::size_t expectedAt = 0;
    Utf16Walk walk(units);
    while (auto piece = walk.next()) {
        EXPECT_EQ(piece->at, expectedAt);
        expectedAt += piece->size;
        pieces += (piece->loneSurrogate ? "!" : "") + std::to_string(piece->codePoint) + "/" +
                  std::to_string(piece->size) + " ";
    }
    EXPECT_EQ(expectedAt, units.size());
    return pieces;
}

TEST(Utf16Walk, JoinsPairsAndTellsLoneSurrogatesAndUnitZeroApart)
{
    struct Case {
        std::u16string units;
        std::string pieces;
    };
    const std::vector<Case> cases = {
        {u"", ""},
        {std::u16string(u"a\0", 2), "97/1 0/1 "},
        {u"\xD83D\xDE00", "128512/2 "},
        {u"x\xD83D", "120/1 !55357/1 "},                // a high surrogate last
        {u"\xDE00\xD83D", "!56832/1 !55357/1 "},        // the pair's halves the wrong way round
        {u"\xD83D\xD83D\xDE00", "!55357/1 128512/2 "},  // the second high one makes the pair
        {std::u16string(u"\xD800\0", 2), "!55296/1 0/1 "},
    };
    for (const Case& c : cases) EXPECT_EQ(piecesOf(c.units), c.pieces) << testing::PrintToString(c.pieces);
}

}  // namespace
}  // namespace quillet
