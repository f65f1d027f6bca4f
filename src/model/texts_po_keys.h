#pragma once
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/texts_formats.h"

// How a PO file names a unicode block: by its text, never by where it stands.
//
// An entry's msgid is the block's text, so a translation follows its text wherever the next
// version of the file moves it, and msgmerge carries it over as it does for programs. Only a
// text that stands more than once gets a msgctxt, to tell its copies apart: "occurrence 2 of 3",
// the second of the three blocks with that text, counted in file order. That survives the
// insertion and removal of other resources, which a segment number or file position would not
// (the verb "Open" would take the adjective's translation after a resource came in before it).
// The count of copies is part of it: when a copy is added or removed, every context of that
// text changes, so msgmerge marks their translations fuzzy instead of moving them from one copy
// onto another.
namespace quillet {

struct PoKey {
    const BlockText* block = nullptr;
    bool notation = false;               // the id is in the notation (texts_po_notation.h)
    std::optional<std::string> context;  // only for a text that stands more than once
    std::string id;
};

// The keys of a file's blocks. A block without a text has none: it is left out of the export,
// since its msgid would be the one of the PO header, and a PO import never empties a text.
class PoKeys {
public:
    explicit PoKeys(const std::vector<BlockText>& blocks);

    // In file order.
    const std::vector<PoKey>& all() const { return keys_; }
    // The block an entry names by its msgctxt and msgid, or nothing.
    const PoKey* find(const std::optional<std::string>& context, const std::string& id) const;
    // The block with a text at that segment number, or nothing.
    const PoKey* atSegment(std::size_t segmentNumber) const;
    // How many blocks have the text of that msgid.
    std::size_t copiesOf(const std::string& id) const;

private:
    std::vector<PoKey> keys_;
    std::map<std::pair<std::optional<std::string>, std::string>, std::size_t> byName_;
    std::map<std::size_t, std::size_t> bySegment_;
    std::map<std::string, std::size_t> copies_;
};

}  // namespace quillet
