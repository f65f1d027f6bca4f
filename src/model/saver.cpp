#include "model/saver.h"

#include <algorithm>
#include <vector>

#include "model/file_io.h"
#include "model/file_mapping.h"
#include "model/translated.h"

namespace quillet {

namespace {

bool writesSecondHeaderWord(const Document& document)
{
    return document.header.length > 4;
}

// Where the saved bytes go, a piece at a time, telling how far the save is.
template <typename Sink>
class PieceWriter {
public:
    PieceWriter(Sink& sink, Progress& progress, std::uint64_t total) : sink_(sink), progress_(progress), total_(total)
    {}

    // A segment's bytes, run by run: unchanged bytes of a mapped file are copied from the file.
    void write(const SegmentBytes& data)
    {
        for (std::size_t at = 0; at < data.size();) {
            std::span<const std::uint8_t> run = data.runAt(at);
            std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(run.size(), ProgressStep));
            if (auto position = data.filePositionAt(at))
                sink_.copy(data.mapping()->descriptor(), *position, run.data(), piece);
            else
                sink_.write(run.data(), piece);
            at += piece;
            written_ += piece;
            if (!progress_.report(written_, total_)) throw WorkCancelled();
        }
    }
    void writeWord(std::uint16_t word)
    {
        std::uint8_t bytes[2] = {static_cast<std::uint8_t>(word & 0xFF), static_cast<std::uint8_t>(word >> 8)};
        sink_.write(bytes, 2);
    }

private:
    Sink& sink_;
    Progress& progress_;
    std::uint64_t total_;
    std::uint64_t written_ = 0;
};

template <typename Sink>
void writeIndex(const Document& document, Sink& sink)
{
    std::vector<std::uint8_t> chunk;
    chunk.reserve(1 << 16);
    for (std::uint16_t entry : document.indexTable) {
        chunk.push_back(static_cast<std::uint8_t>(entry & 0xFF));
        chunk.push_back(static_cast<std::uint8_t>(entry >> 8));
        if (chunk.size() >= (1 << 16)) {
            sink.write(chunk.data(), chunk.size());
            chunk.clear();
        }
    }
    sink.write(chunk.data(), chunk.size());
}

// The index offset is a 16-bit word: a larger body could not be found again on loading.
std::uint64_t indexOffsetOrRefusal(const Document& document)
{
    std::uint64_t indexOffset = bytesBeforeIndex(document);
    if (indexOffset > static_cast<std::uint64_t>(MaxIndexPosition))
        throw IoError(filled(translated("Resource too large: %1 bytes before the index, at most %2 fit; nothing was "
                                        "written"),
                             {std::to_string(indexOffset), std::to_string(MaxIndexPosition)}));
    return indexOffset;
}

// What an indexed document writes before its index: the index offset, the second header word and
// the segments, a block's count byte and marker in front of its text.
template <typename Sink>
void writeHead(const Document& document, std::uint64_t indexOffset, PieceWriter<Sink>& writer, Sink& sink)
{
    writer.writeWord(static_cast<std::uint16_t>(indexOffset));
    if (writesSecondHeaderWord(document)) {
        std::uint8_t header[2] = {document.header.headerByte2, document.header.headerByte3};
        sink.write(header, 2);
    }
    for (const Segment& segment : document.segments) {
        if (segment.isUnicode()) {
            std::uint8_t head[2] = {static_cast<std::uint8_t>((segment.size() / 2) & 0xFF), UnicodeMarker};
            sink.write(head, 2);
        }
        writer.write(segment.data);
    }
}

// A raw document: the bytes of its one segment. An indexed one: the index offset, the second
// header word, the segments (a block's count byte and marker in front of its text), the
// entries and the index offset again.
template <typename Sink>
void writeDocument(const Document& document, Sink& sink, Progress& progress)
{
    if (document.noIndex) {
        if (document.segments.empty()) return;
        const SegmentBytes& data = document.segments.front().data;
        PieceWriter<Sink>(sink, progress, data.size()).write(data);
        return;
    }
    std::uint64_t indexOffset = indexOffsetOrRefusal(document);
    PieceWriter<Sink> writer(sink, progress, indexOffset);
    writeHead(document, indexOffset, writer, sink);
    writeIndex(document, sink);
    writer.writeWord(static_cast<std::uint16_t>(indexOffset));
}

// A sink is given bytes to write, or bytes to copy from a file where they also lie.
struct ImageSink {
    Bytes bytes;
    void write(const std::uint8_t* data, std::size_t count) { bytes.insert(bytes.end(), data, data + count); }
    void copy(int, std::uint64_t, const std::uint8_t* data, std::size_t count) { write(data, count); }
};

struct FunctionSink {
    const std::function<void(const std::uint8_t*, std::size_t)>& target;
    void write(const std::uint8_t* data, std::size_t count) { target(data, count); }
    void copy(int, std::uint64_t, const std::uint8_t* data, std::size_t count) { write(data, count); }
};

struct FileSink {
    AtomicFileWriter& file;
    void write(const std::uint8_t* data, std::size_t count) { file.write(data, count); }
    void copy(int fd, std::uint64_t position, const std::uint8_t* data, std::size_t count)
    {
        file.copyFrom(fd, position, data, count);
    }
};

// The lost bytes of a file cut short are found only as they are read, here while written.
void saveDocument(const Document& document, const std::string& path, Progress& progress, bool wholeSourceOnly)
{
    if (!document.noIndex) indexOffsetOrRefusal(document);  // refused before the target is touched
    AtomicFileWriter file(path);
    FileSink sink{file};
    // Writing and flushing to disk take about as long as each other on a large file.
    StageProgress writing(progress, 0, 2);
    writeDocument(document, sink, writing);
    // Bytes copied from a file another program was changing meanwhile may not belong together.
    if (document.mappedFileChanged()) throw FileChangedWhileRead(translated("nothing was written"));
    if (wholeSourceOnly && document.fileCutShort())
        throw IoError(translated("Not written: another program cut the file it was made from short while it was read"));
    StageProgress flushing(progress, 1, 2);
    file.commit(flushing);
}

}  // namespace

std::uint64_t bytesBeforeIndex(const Document& document)
{
    std::uint64_t written = 2;
    if (writesSecondHeaderWord(document)) written += 2;
    for (const Segment& segment : document.segments) written += static_cast<std::uint64_t>(segment.fileBytes());
    return written;
}

Bytes savedImage(const Document& document)
{
    ImageSink sink;
    NoProgress progress;
    writeDocument(document, sink, progress);
    return std::move(sink.bytes);
}

Bytes savedHead(const Document& document)
{
    ImageSink sink;
    NoProgress progress;
    std::uint64_t indexOffset = indexOffsetOrRefusal(document);
    sink.bytes.reserve(static_cast<std::size_t>(indexOffset));
    PieceWriter<ImageSink> writer(sink, progress, indexOffset);
    writeHead(document, indexOffset, writer, sink);
    return std::move(sink.bytes);
}

void writeResource(const Document& document, const std::function<void(const std::uint8_t*, std::size_t)>& write)
{
    FunctionSink sink{write};
    NoProgress progress;
    writeDocument(document, sink, progress);
}

void saveResource(const Document& document, const std::string& path)
{
    NoProgress progress;
    saveResource(document, path, progress);
}

void saveResource(const Document& document, const std::string& path, Progress& progress)
{
    saveDocument(document, path, progress, false);
}

void saveResourceWhole(const Document& document, const std::string& path)
{
    NoProgress progress;
    saveDocument(document, path, progress, true);
}

}  // namespace quillet
