#include "model/document_texts.h"

#include "model/line_format.h"

namespace quillet {

std::vector<BlockText> blockTextsOf(const Document& document)
{
    std::vector<BlockText> blocks;
    for (std::size_t j = 0; j < document.segments.size(); ++j) {
        const Segment& segment = document.segments[j];
        if (segment.isUnicode()) blocks.push_back({j + 1, unitsOf(segment.data, segment.data.size())});
    }
    return blocks;
}

std::string writeTexts(const Document& document, TextsFormat format, std::string_view fileLabel)
{
    std::vector<BlockText> blocks = blockTextsOf(document);
    return format == TextsFormat::Po ? writePo(fileLabel, blocks) : writeTsv(blocks);
}

TextsReading readTexts(std::string_view text, const Document& document)
{
    std::vector<BlockText> blocks = blockTextsOf(document);
    return looksLikePo(text) ? readPo(text, blocks) : readTsv(text, blocks);
}

}  // namespace quillet
