#include "model/document.h"

#include "model/line_format.h"

namespace quillet {

std::int64_t Document::dataStart(const TResource& segment) const
{
    if (NoIndex) return 0;
    return segment.Offset + (segment.isUnicode() ? 2 : 1);
}

std::string Document::indexLine(std::size_t entry) const
{
    return formatIndexLine(IndexTable[entry], entry);
}

}  // namespace quillet
