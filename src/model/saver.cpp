#include "model/saver.h"

#include <vector>

#include "model/file_io.h"

namespace quillet {

namespace {

bool writesSecondHeaderWord(const Document& document)
{
    return document.header.length > 4;
}

void writeWord(AtomicFileWriter& file, std::uint16_t word)
{
    std::uint8_t bytes[2] = {static_cast<std::uint8_t>(word & 0xFF), static_cast<std::uint8_t>(word >> 8)};
    file.write(bytes, 2);
}

void writeSegments(const Document& document, AtomicFileWriter& file)
{
    for (const Segment& segment : document.segments) {
        if (segment.isUnicode()) {
            std::uint8_t head[2] = {static_cast<std::uint8_t>((segment.size / 2) & 0xFF), UnicodeMarker};
            file.write(head, 2);
        }
        file.write(segment.data.data(), segment.data.size());
    }
}

void writeIndex(const Document& document, AtomicFileWriter& file)
{
    std::vector<std::uint8_t> chunk;
    chunk.reserve(1 << 16);
    for (std::uint16_t entry : document.indexTable) {
        chunk.push_back(static_cast<std::uint8_t>(entry & 0xFF));
        chunk.push_back(static_cast<std::uint8_t>(entry >> 8));
        if (chunk.size() >= (1 << 16)) {
            file.write(chunk.data(), chunk.size());
            chunk.clear();
        }
    }
    file.write(chunk.data(), chunk.size());
}

}  // namespace

std::uint64_t bytesBeforeIndex(const Document& document)
{
    std::uint64_t written = 2;
    if (writesSecondHeaderWord(document)) written += 2;
    for (const Segment& segment : document.segments)
        written += segment.data.size() + (segment.isUnicode() ? 2 : 0);
    return written;
}

void saveResource(const Document& document, const std::string& path)
{
    if (document.noIndex) {
        AtomicFileWriter file(path);
        if (!document.segments.empty()) file.write(document.segments.front().data.data(), document.segments.front().data.size());
        file.commit();
        return;
    }
    // The index offset is a 16-bit word: a larger body could not be found again on loading.
    std::uint64_t indexOffset = bytesBeforeIndex(document);
    if (indexOffset > 0xFFFF)
        throw IoError("Resource too large: " + std::to_string(indexOffset) +
                      " bytes before the index, at most 65535 fit; nothing was written");
    AtomicFileWriter file(path);
    writeWord(file, static_cast<std::uint16_t>(indexOffset));
    if (writesSecondHeaderWord(document)) {
        std::uint8_t header[2] = {document.header.headerByte2, document.header.headerByte3};
        file.write(header, 2);
    }
    writeSegments(document, file);
    writeIndex(document, file);
    writeWord(file, static_cast<std::uint16_t>(indexOffset));
    file.commit();
}

}  // namespace quillet
