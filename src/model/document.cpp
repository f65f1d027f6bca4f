#include "model/document.h"

#include "model/line_format.h"

namespace quillet {

std::int64_t Document::dataStart(const Segment& segment) const
{
    if (noIndex) return 0;
    return segment.offset + (segment.isUnicode() ? 2 : 1);
}

std::string Document::indexLine(std::size_t entry) const
{
    return formatIndexLine(indexTable[entry], entry);
}

}  // namespace quillet
