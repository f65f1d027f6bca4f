#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model/bytes.h"
#include "model/document.h"
#include "model/edit_steps.h"

namespace quillet::test {

// The resources of a saved file: for each entry at which the body scan cuts, the bytes from it
// to the next such entry or to the index.
struct Resource {
    std::int64_t start = 0;
    Bytes bytes;
};
std::map<std::size_t, Resource> resourcesOf(const Bytes& file);

// The file bytes [start, start + removed) that a step replaces by `inserted` bytes. When the
// change begins at the first byte of a segment, a resource beginning there is changed too.
struct FileRange {
    std::int64_t start = 0;
    std::int64_t removed = 0;
    std::int64_t inserted = 0;
    bool atSegmentStart = true;
};
// The ranges a step changes, read off the document before the step.
std::vector<FileRange> rangesOf(const Document& document, const EditStep& step);

// The steps of a change, readably, for a failure's message.
std::string describe(const Change& change);

// The resources of `beforeImage` that the steps of `change` (done on `before`, whose saved image
// it is) did not touch are found in `afterImage` at their entries with the same bytes. Returns
// one text per resource that is not, nothing when all are.
std::vector<std::string> untouchedResourceFaults(const Document& before, const Bytes& beforeImage, const Change& change,
                                                 const Bytes& afterImage);

}  // namespace quillet::test
