#include "model/document.h"

#include "model/file_mapping.h"
#include "model/line_format.h"
#include "model/utf8.h"

namespace quillet {

std::int64_t Document::dataStart(const Segment& segment) const
{
    if (noIndex) return 0;
    return segment.dataStart();
}

std::string Document::indexLine(std::size_t entry) const
{
    return formatIndexLine(indexTable[entry], entry);
}

std::string Document::segmentLine(std::size_t j) const
{
    const Segment& segment = segments[j];
    if (noIndex) return rawSegmentLine(segment.data.size());
    std::string line = sequenceNumber(segment.number) + indexTag(segment.tag) + " ";
    if (segment.isUnicode()) return line + readableUtf8(unitsOf(segment.data, segment.data.size()));
    if (segment.forcedText) return line + readableUtf8(*segment.forcedText);
    return line + dataRange(segment);
}

bool Document::fileCutShort() const
{
    return mapping && mapping->damaged();
}

bool Document::mappedFileChanged() const
{
    // Every write and every cut moves the time of last change on.
    return mapping && file && stampOfDescriptor(mapping->descriptor()) != file;
}

void Document::takeChangedFile()
{
    if (!mapping) return;
    file = stampOfDescriptor(mapping->descriptor());
    for (Segment& segment : segments) segment.data.rereadUnwritten();
}

}  // namespace quillet
