#include "support/random_texts.h"

#include "model/segment.h"

namespace quillet::test {

std::u16string randomText(std::mt19937& random, std::size_t length, bool uncarriable)
{
    static const std::u16string awkward = {'\t', '\n', '\r', 0x01, 0x07, 0x1B,  0x7F,   '"',    '\\',   '0',   'u',
                                           'n',  '#',  '%',  ' ',  0xE9, 0x416, 0x4E2D, 0xFEFF, 0xFFFD, 0xFFFF};
    static const std::u16string notCarried = {0, 0xD800, 0xDBFF, 0xDC00, 0xDFFF};
    std::u16string units;
    while (units.size() < length) {
        switch (random() % 5) {
        case 0: units.push_back(awkward[random() % awkward.size()]); break;
        case 1:
            if (uncarriable) units.push_back(notCarried[random() % notCarried.size()]);
            break;
        case 2:
            if (units.size() + 2 <= length) {
                units.push_back(static_cast<char16_t>(0xD800 + random() % 0x400));
                units.push_back(static_cast<char16_t>(0xDC00 + random() % 0x400));
            }
            break;
        default: units.push_back(static_cast<char16_t>("aZqTzA09 ,.:"[random() % 12])); break;
        }
    }
    return units;
}

std::vector<BlockText> randomBlocks(std::mt19937& random, std::size_t count)
{
    std::vector<BlockText> blocks;
    std::size_t segment = 0;
    for (std::size_t i = 0; i < count; ++i) {
        segment += 1 + random() % 3;
        std::size_t length = i == 0 ? 0 : i == 1 ? MaxBlockCharacters : random() % 40;
        blocks.push_back({segment, randomText(random, length, i % 2 == 1)});
    }
    return blocks;
}

}  // namespace quillet::test
