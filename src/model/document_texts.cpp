#include "model/document_texts.h"

#include "model/line_format.h"

namespace quillet {

std::vector<BlockText> blockTextsOf(const Document& document)
{
    std::vector<BlockText> blocks;
    for (std::size_t j = 0; j < document.segments.size(); ++j) {
        const Segment& segment = document.segments[j];
        if (segment.isUnicode())
            blocks.push_back({j + 1, unitsOf(segment.data.data(), segment.data.size()), segment.firstPosition()});
    }
    return blocks;
}

std::string writeTexts(const Document& document, const TextsFormat& format, std::string_view fileLabel)
{
    return format.write(fileLabel, blockTextsOf(document));
}

Result<TextsRead> readTexts(std::string_view text, const Document& document, EntriesNotFound notFound)
{
    Result<TextsRead> read = textsFormatOfText(text).format.read(text, blockTextsOf(document));
    if (read && notFound == EntriesNotFound::Refused && read->counts.firstNotFound) return *read->counts.firstNotFound;
    return read;
}

}  // namespace quillet
