// The translation of one version of a file carried to the next by gettext's own msgmerge, as
// translators of programs do: each text keeps its translation wherever it moved, identical texts
// keep theirs apart, and a changed or new text is never given another's. Skipped when a tool is
// not installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "model/texts_formats.h"
#include "support/gettext_folder.h"
#include "support/po_texts.h"

namespace quillet {
namespace {

const TextsFormat& poFormat = textsFormatNamed("po")->format;

using Units = std::u16string;

// A file's blocks with these texts, in this order, each after a data segment.
std::vector<BlockText> blocksOf(const std::vector<Units>& texts)
{
    std::vector<BlockText> blocks;
    for (std::size_t i = 0; i < texts.size(); ++i) blocks.push_back({2 * i + 2, texts[i], std::int64_t(16 * i)});
    return blocks;
}

// Version 1: texts in several scripts, "Open" twice (a verb, then an adjective), an empty text,
// a text of two lines and one a PO string carries only in the notation.
const std::vector<Units> Version1 = {u"New game",
                                     u"Load game",
                                     u"Сохранить игру",
                                     u"Настройки",
                                     u"Ήχος",
                                     u"音量",
                                     u"Open",
                                     u"Open",
                                     u"",
                                     u"Quit game",
                                     u"خروج",
                                     u"שמור",
                                     u"Score: 🎉",
                                     u"Line one\nLine two",
                                     u"Ready",
                                     Units(u"Player\0Name", 11),
                                     u"Cancel",
                                     u"OK"};

// Version 2: "Continue" added before the pair, the Arabic text after it removed, "Quit game"
// changed.
std::vector<Units> version2()
{
    std::vector<Units> texts = Version1;
    texts.erase(texts.begin() + 10);
    texts[9] = u"Quit the game";
    texts.insert(texts.begin() + 6, u"Continue");
    return texts;
}

// The translator's work: "Open" the verb is "Öffnen", the adjective "Offen", every other text
// gets "DE:" in front.
std::string german(const std::optional<std::string>& context, const std::string& id)
{
    if (id == "Open" && context == "occurrence 1 of 2") return "Öffnen";
    if (id == "Open" && context == "occurrence 2 of 2") return "Offen";
    return "DE:" + id;
}

Units germanOf(const Units& text)
{
    return u"DE:" + text;
}

class PoUpdate : public test::GettextFolder {
protected:
    // de.po made from v1.pot by msginit, which says that it made it.
    void msginit()
    {
        runQuietly("msginit --no-translator --locale=de_DE.UTF-8 -i v1.pot -o de.po 2>said.txt && "
                   "sed '/^Created de.po.$/d' said.txt >&2");
    }

    // The German PO of version 1, as msginit starts it and the translator fills it.
    void translateVersion1()
    {
        write("v1.pot", poFormat.write("game-v1.rsc", v1));
        msginit();
        write("de.po", test::translatedPo(read("de.po"), german));
        runQuietly("msgfmt --check -o /dev/null de.po");
        Result<TextsRead> own = poFormat.read(read("de.po"), v1);
        ASSERT_TRUE(own) << own.failure().line << ": " << own.failure().reason;
        EXPECT_EQ(summaryOf(own->counts), "17 applied, 0 untranslated, 0 fuzzy, 0 not found");
    }

    // de.po carried over to a version's template by msgmerge, read against that version.
    TextsRead mergedInto(const std::vector<BlockText>& blocks)
    {
        write("next.pot", poFormat.write("game-next.rsc", blocks));
        runQuietly("msgmerge --quiet -o merged.po de.po next.pot");
        Result<TextsRead> read = poFormat.read(this->read("merged.po"), blocks);
        if (!read) ADD_FAILURE() << read.failure().line << ": " << read.failure().reason;
        return read ? *read : TextsRead{};
    }

    // The new text of each segment.
    static std::map<std::size_t, Units> bySegment(const TextsRead& read)
    {
        std::map<std::size_t, Units> texts;
        for (const TextChange& change : read.changes) texts[change.segmentNumber] = change.units;
        return texts;
    }

    std::vector<BlockText> v1 = blocksOf(Version1);
    std::vector<BlockText> v2 = blocksOf(version2());
};

#define SKIP_WITHOUT_TOOLS \
    SKIP_WITHOUT("msginit"); \
    SKIP_WITHOUT("msgmerge"); \
    SKIP_WITHOUT("msgfmt")

TEST_F(PoUpdate, EveryUnchangedTextKeepsItsTranslationAndIdenticalTextsKeepTheirOwn)
{
    SKIP_WITHOUT_TOOLS;
    translateVersion1();
    TextsRead read = mergedInto(v2);
    std::map<std::size_t, Units> texts = bySegment(read);
    for (const BlockText& block : v2) {
        const Units& text = block.units;
        bool changedOrNew = text == u"Continue" || text == u"Quit the game";
        if (text.empty() || changedOrNew) {
            EXPECT_EQ(texts.count(block.segmentNumber), 0u) << "segment " << block.segmentNumber;
        } else if (text != u"Open") {
            EXPECT_EQ(texts[block.segmentNumber], germanOf(text)) << "segment " << block.segmentNumber;
        }
    }
    // The verb moved to the number the adjective had; each still has its own translation.
    EXPECT_EQ(texts[16], u"Öffnen");
    EXPECT_EQ(texts[18], u"Offen");
    EXPECT_EQ(read.counts.applied, 15u);
    EXPECT_EQ(read.counts.untranslated + read.counts.fuzzy, 2u);
    EXPECT_EQ(read.counts.notFound, 0u);
}

// msgattrib --clear-fuzzy takes msgmerge's guesses as translations: that is the translator's
// choice for the changed text, but the header never becomes a text and the empty one stays empty.
TEST_F(PoUpdate, ClearingTheFuzzyFlagsNeverPutsTheHeaderIntoAText)
{
    SKIP_WITHOUT_TOOLS;
    SKIP_WITHOUT("msgattrib");
    translateVersion1();
    mergedInto(v2);
    runQuietly("msgattrib --clear-fuzzy -o cleared.po merged.po");
    Result<TextsRead> read = poFormat.read(this->read("cleared.po"), v2);
    ASSERT_TRUE(read) << read.failure().line << ": " << read.failure().reason;
    std::map<std::size_t, Units> texts = bySegment(*read);
    EXPECT_EQ(texts.count(20), 0u) << "the empty text";
    for (const auto& [segment, text] : texts)
        EXPECT_EQ(text.find(u"Content-Type"), Units::npos) << "segment " << segment;
    EXPECT_EQ(texts[16], u"Öffnen");
    EXPECT_EQ(texts[18], u"Offen");
    EXPECT_EQ(read->counts.fuzzy, 0u);
}

// When a third "Open" comes in, which of them is which is not known: msgmerge marks all three
// fuzzy, and none of the two translations lands on another copy.
TEST_F(PoUpdate, ACopyAddedToIdenticalTextsLeavesThemAllUntranslated)
{
    SKIP_WITHOUT_TOOLS;
    translateVersion1();
    std::vector<Units> texts = version2();
    texts.insert(texts.begin(), u"Open");
    std::vector<BlockText> v3 = blocksOf(texts);
    TextsRead read = mergedInto(v3);
    std::map<std::size_t, Units> changes = bySegment(read);
    for (const BlockText& block : v3) {
        if (block.units == u"Open") {
            EXPECT_EQ(changes.count(block.segmentNumber), 0u) << block.segmentNumber;
        }
    }
    EXPECT_EQ(changes[4], germanOf(u"New game"));
    EXPECT_EQ(read.counts.applied, 13u);
}

// A template made afresh by msginit is read like the export it was made from.
TEST_F(PoUpdate, MsginitOutputImportsAsAnUntranslatedExport)
{
    SKIP_WITHOUT("msginit");
    write("v1.pot", poFormat.write("game-v1.rsc", v1));
    msginit();
    Result<TextsRead> read = poFormat.read(this->read("de.po"), v1);
    ASSERT_TRUE(read) << read.failure().line << ": " << read.failure().reason;
    EXPECT_EQ(summaryOf(read->counts), "0 applied, 17 untranslated, 0 fuzzy, 0 not found");
}

}  // namespace
}  // namespace quillet
