#include "support/po_texts.h"

#include <gtest/gtest.h>
#include <sstream>

namespace quillet::test {

std::string filledPo(const std::string& po)
{
    std::istringstream in(po);
    std::string line;
    std::string out;
    std::vector<std::string> msgid;  // the lines of the msgid before the coming msgstr
    while (std::getline(in, line)) {
        if (line.rfind("msgid ", 0) == 0)
            msgid = {line};
        else if (!msgid.empty() && line.rfind('"', 0) == 0)
            msgid.push_back(line);
        if (line == "msgstr \"\"" && !msgid.empty()) {
            out += "msgstr" + msgid[0].substr(5) + "\n";
            for (std::size_t i = 1; i < msgid.size(); ++i) out += msgid[i] + "\n";
            msgid.clear();
            continue;
        }
        out += line + "\n";
    }
    return out;
}

namespace {
// The escaped content of a quoted string that makes up the rest of a line.
std::string unquoted(const std::string& rest)
{
    std::size_t open = rest.find('"');
    std::size_t close = rest.rfind('"');
    return open == std::string::npos || close <= open ? std::string() : rest.substr(open + 1, close - open - 1);
}
}  // namespace

std::string translatedPo(const std::string& po, const Translator& translate)
{
    std::istringstream in(po);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::string out;
    std::optional<std::string> context;
    std::string id;
    std::string* field = nullptr;  // where the strings of the following lines go
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        bool continued = i + 1 < lines.size() && lines[i + 1].rfind('"', 0) == 0;
        if (line.rfind("msgctxt ", 0) == 0) {
            context = unquoted(line.substr(7));
            field = &*context;
        } else if (line.rfind("msgid ", 0) == 0) {
            id = unquoted(line.substr(5));
            field = &id;
        } else if (line.rfind('"', 0) == 0 && field != nullptr) {
            *field += unquoted(line);
        } else if (line.rfind("msgstr", 0) == 0) {
            if (line == "msgstr \"\"" && !continued && !id.empty()) {
                out += "msgstr \"" + translate(context, id) + "\"\n";
                context.reset();
                continue;
            }
            context.reset();
            field = nullptr;
        } else {
            field = nullptr;
        }
        out += line + "\n";
    }
    return out;
}

void expectEveryNonEmptyText(const Result<TextsRead>& read, const std::vector<BlockText>& blocks,
                             const TextTransform& transform)
{
    ASSERT_TRUE(read) << read.failure().line << ": " << read.failure().reason;
    const TextChanges& changes = read->changes;
    std::vector<TextChange> expected;
    for (const BlockText& block : blocks)
        if (!block.units.empty()) expected.push_back({block.segmentNumber, transform(block.units)});
    ASSERT_EQ(changes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(changes[i].segmentNumber, expected[i].segmentNumber);
        EXPECT_EQ(changes[i].units, expected[i].units) << "segment " << expected[i].segmentNumber;
    }
    EXPECT_EQ(read->counts.applied, expected.size());
}

}  // namespace quillet::test
