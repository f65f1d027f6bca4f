// The loader and the saver against a second, deliberately plain reading of the file rules, on
// a few thousand random files.
#include <gtest/gtest.h>

#include <random>

#include "model/codepage.h"
#include "model/hex.h"
#include "model/loader.h"
#include "model/saver.h"
#include "model/utf8.h"
#include "support/byte_strings.h"
#include "support/document_lines.h"

namespace quillet {
namespace {

struct PlainSegment {
    int kind;
    int offset;
    Bytes data;
    std::string line;
};

struct PlainDocument {
    bool noIndex = false;
    std::vector<int> entries;
    std::vector<PlainSegment> segments;
};

int word(const Bytes& file, std::size_t at)
{
    return file[at] | (file[at + 1] << 8);
}

std::string plainTag(const std::vector<int>& entries, int x)
{
    for (std::size_t k = entries.size(); k-- > 0;)
        if (entries[k] <= x) return "(" + std::to_string(k) + ")";
    return "";
}

std::string plainNumber(std::size_t n)
{
    std::string digits = std::to_string(n);
    while (digits.size() < 3) digits = "0" + digits;
    return digits;
}

// Every position checked against every entry, every tag found by scanning the whole index.
PlainDocument plainLoad(const Bytes& file)
{
    PlainDocument doc;
    int length = static_cast<int>(file.size());
    if (length < 4 || word(file, length - 2) != word(file, 0) || word(file, 0) > length) {
        doc.noIndex = true;
        doc.segments.push_back({0, 0, file, "0000:" + hexUpper(file.size(), 4)});
        return doc;
    }
    int indexOffset = word(file, 0);
    for (int k = 0; k < (length - indexOffset - 2) / 2; ++k) doc.entries.push_back(word(file, indexOffset + 2 * k));
    Bytes pending;
    int pendingStart = 0;
    auto flush = [&] {
        if (pending.empty()) return;
        std::string line = plainNumber(doc.segments.size() + 1) + plainTag(doc.entries, pendingStart + 1) + " " +
                           hexUpper(pendingStart, 4) + ":" + hexUpper(pendingStart + pending.size() - 1, 4);
        doc.segments.push_back({0, pendingStart - 1, pending, line});
        pending.clear();
    };
    auto take = [&](int p) {
        if (pending.empty()) pendingStart = p;
        pending.push_back(file[p]);
    };
    int p = 4;
    while (p < indexOffset - 1) {
        for (int entry : doc.entries)
            if (entry == p) flush();
        if (file[p] == 0xAB && !pending.empty() && p + 2 * file[p - 1] <= indexOffset - 1) {
            int count = file[p - 1];
            pending.pop_back();
            flush();
            Bytes text(file.begin() + p + 1, file.begin() + p + 1 + 2 * count);
            std::u16string units;
            for (int m = 0; m < count; ++m)
                units.push_back(static_cast<char16_t>(text[2 * m] | (text[2 * m + 1] << 8)));
            std::string shown = readableUtf8(units);
            doc.segments.push_back(
                {171, p - 1, text, plainNumber(doc.segments.size() + 1) + plainTag(doc.entries, p - 1) + " " + shown});
            p += 1 + 2 * count;
        } else {
            take(p);
            ++p;
        }
    }
    if (p == indexOffset - 1) {
        take(p);
        flush();
    }
    return doc;
}

// A random file: mostly well formed (entries at resource starts, blocks with ASCII text), with
// random damage so that every rule is met now and then.
Bytes randomFile(std::mt19937& random)
{
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    Bytes file = {0, 0, static_cast<std::uint8_t>(below(256)), static_cast<std::uint8_t>(below(256))};
    std::vector<int> entries;
    int resources = below(8);
    for (int r = 0; r < resources; ++r) {
        if (below(4) != 0) entries.push_back(static_cast<int>(file.size()));
        if (below(2) == 0) {
            int count = below(4);
            file.push_back(static_cast<std::uint8_t>(count));
            file.push_back(0xAB);
            for (int i = 0; i < count; ++i) {
                file.push_back(below(8) == 0 ? 0 : static_cast<std::uint8_t>('A' + below(26)));
                file.push_back(0);
            }
        } else {
            int size = 1 + below(5);
            for (int i = 0; i < size; ++i) file.push_back(below(6) == 0 ? 0xAB : static_cast<std::uint8_t>(below(4)));
        }
    }
    for (int extra = below(3); extra > 0; --extra) entries.push_back(below(static_cast<int>(file.size()) + 4));
    int indexOffset = static_cast<int>(file.size());
    for (int entry : entries) {
        file.push_back(static_cast<std::uint8_t>(entry));
        file.push_back(static_cast<std::uint8_t>(entry >> 8));
    }
    if (below(10) == 0) file.push_back(0x99);  // a stray byte
    switch (below(12)) {
    case 0: indexOffset = below(static_cast<int>(file.size()) + 8); break;  // anywhere, also past the end
    case 1: file.resize(static_cast<std::size_t>(below(4))); return file;
    default: break;
    }
    file.push_back(static_cast<std::uint8_t>(indexOffset));
    file.push_back(static_cast<std::uint8_t>(indexOffset >> 8));
    file[0] = static_cast<std::uint8_t>(indexOffset);
    file[1] = static_cast<std::uint8_t>(indexOffset >> 8);
    if (below(15) == 0) file[0] ^= 1;  // trailer no longer matches
    return file;
}

// What saving must write, read straight off the rules.
Bytes plainSave(const PlainDocument& doc, const Bytes& original)
{
    if (doc.noIndex) return doc.segments.empty() ? Bytes{} : doc.segments[0].data;
    Bytes out = {0, 0};
    if (original.size() > 4) {
        out.push_back(original[2]);
        out.push_back(original[3]);
    }
    for (const PlainSegment& segment : doc.segments) {
        if (segment.kind == 171) {
            out.push_back(static_cast<std::uint8_t>(segment.data.size() / 2));
            out.push_back(0xAB);
        }
        out.insert(out.end(), segment.data.begin(), segment.data.end());
    }
    int indexOffset = static_cast<int>(out.size());
    for (int entry : doc.entries) {
        out.push_back(static_cast<std::uint8_t>(entry));
        out.push_back(static_cast<std::uint8_t>(entry >> 8));
    }
    out.push_back(static_cast<std::uint8_t>(indexOffset));
    out.push_back(static_cast<std::uint8_t>(indexOffset >> 8));
    out[0] = static_cast<std::uint8_t>(indexOffset);
    out[1] = static_cast<std::uint8_t>(indexOffset >> 8);
    return out;
}

TEST(LoaderDifferential, RandomFilesLoadAndSaveAsThePlainRulesSay)
{
    std::mt19937 random(20261208);
    std::string savePath = test::tempPath("differential.rsc");
    int roundTrips = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes file = randomFile(random);
        SCOPED_TRACE("file " + test::hexOf(file));
        PlainDocument expected = plainLoad(file);
        Document document = parseResource(file);

        ASSERT_EQ(document.noIndex, expected.noIndex);
        ASSERT_EQ(document.indexTable.size(), expected.entries.size());
        for (std::size_t k = 0; k < expected.entries.size(); ++k)
            ASSERT_EQ(document.indexTable[k], expected.entries[k]);
        ASSERT_EQ(document.segments.size(), expected.segments.size());
        std::size_t bodyBytes = 0;
        for (std::size_t j = 0; j < expected.segments.size(); ++j) {
            const Segment& segment = document.segments[j];
            ASSERT_EQ(static_cast<int>(segment.kind), expected.segments[j].kind) << j;
            ASSERT_EQ(segment.offset, expected.segments[j].offset) << j;
            ASSERT_EQ(test::hexOf(segment.data), test::hexOf(expected.segments[j].data)) << j;
            ASSERT_EQ(test::linesOf(document)[j], expected.segments[j].line) << j;
            bodyBytes += segment.data.size() + (segment.isUnicode() ? 2 : 0);
        }

        // Reading from disk takes only the bytes before the index and the entries: same document.
        if (round % 5 == 0) {
            Document fromDisk = loadResource(test::writeTempFile(file, "differential-in.rsc"));
            ASSERT_EQ(fromDisk.noIndex, document.noIndex);
            ASSERT_EQ(fromDisk.indexTable, document.indexTable);
            ASSERT_EQ(test::linesOf(fromDisk), test::linesOf(document));
            ASSERT_EQ(fromDisk.header.length, document.header.length);
            ASSERT_EQ(fromDisk.header.headerByte2, document.header.headerByte2);
            ASSERT_EQ(fromDisk.header.headerByte3, document.header.headerByte3);
            for (std::size_t j = 0; j < document.segments.size(); ++j)
                ASSERT_EQ(fromDisk.segments[j].data, document.segments[j].data);
        }

        // Saving syncs the file to disk: most rounds take the bytes a save would write.
        Bytes saved = savedImage(document);
        if (round % 10 == 0) {
            saveResource(document, savePath);
            ASSERT_EQ(test::readFileBytes(savePath), saved);
        }
        ASSERT_EQ(saved, plainSave(expected, file));
        // Every body byte lies in exactly one segment: a well-formed file comes back unchanged.
        int length = static_cast<int>(file.size());
        int indexOffset = length >= 2 ? word(file, 0) : 0;
        if (!document.noIndex && indexOffset >= 4 && indexOffset <= length - 2 && (length - indexOffset) % 2 == 0 &&
            length > 4) {
            ASSERT_EQ(bodyBytes, static_cast<std::size_t>(indexOffset - 4));
            ASSERT_EQ(saved, file);
            ++roundTrips;
        }
    }
    EXPECT_GT(roundTrips, 1000);
}

}  // namespace
}  // namespace quillet
