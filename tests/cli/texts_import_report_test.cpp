// What `texts import` says it did, the translations it reads (files, standard input, pipes), and
// the refusals that write nothing: the import of a translator's file as scripts run it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/byte_strings.h"
#include "support/failing_allocations.h"
#include "support/gettext_folder.h"
#include "support/po_texts.h"
#include "support/resource_builder.h"
#include "support/run_cli.h"

namespace quillet {
namespace {

using test::runCli;

std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

// A resource file of these texts, each after a data segment: the blocks are segments 2, 4, ...
Bytes fileOfTexts(const std::vector<std::u16string>& texts)
{
    std::vector<std::string> resources;
    for (const std::u16string& text : texts) {
        resources.push_back("01 02");
        resources.push_back(test::blockHex(text));
    }
    resources.push_back("03 04");
    return test::resourceFile(resources);
}

class TextsImportReport : public test::GettextFolder {
protected:
    std::string resource = path("game.rsc");
    std::string out = path("out.rsc");
    std::string texts = path("texts.po");

    void SetUp() override
    {
        Bytes bytes = fileOfTexts({u"Open", u"Save", u"Open", u"Quit"});
        std::ofstream(resource, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // The export of game.rsc as a translator leaves it: "Save" translated, "Quit" fuzzy, both
    // "Open" left empty, and an entry of a text the file does not have (lines 34 and 35).
    std::string translated() const
    {
        std::string po = runCli({"texts", "export", "--po", resource}).out;
        po = test::translatedPo(po, [](const std::optional<std::string>&, const std::string& id) {
            return id == "Save" ? "Sichern" : id == "Quit" ? "Ende" : "";
        });
        std::size_t quit = po.find("msgid \"Quit\"");
        po.insert(po.rfind("\n\n", quit) + 2, "#, fuzzy\n");
        return po + "\nmsgid \"Gone\"\nmsgstr \"Weg\"\n";
    }

    // The texts of a resource file, as the TAB export shows them.
    static std::string textsOf(const std::string& file) { return runCli({"texts", "export", file}).out; }

    // Runs a shell command line with QUILLET set to the tool; gives its exit status and error
    // output.
    test::CliResult shell(const std::string& command) const
    {
        test::CliResult result;
        result.exitStatus = runShell("QUILLET=" + quoted(QUILLET_CLI_PATH) + "; " + command);
        result.err = read("errors.txt");
        return result;
    }

    void expectNothingWritten(const test::CliResult& run, const std::string& err) const
    {
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.err, err);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
};

TEST_F(TextsImportReport, APoImportSaysWhatItAppliedAndWhatNot)
{
    write("texts.po", translated());
    test::CliResult run = runCli({"texts", "import", resource, texts, out});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "quillet-cli: " + texts + ": 1 applied, 2 untranslated, 1 fuzzy, 1 not found\n");
    EXPECT_EQ(textsOf(out), "2\tOpen\tOpen\n4\tSichern\tSichern\n6\tOpen\tOpen\n8\tQuit\tQuit\n");
}

TEST_F(TextsImportReport, StrictMakesATextNotFoundAnErrorAndWritesNothing)
{
    write("texts.po", translated());
    test::CliResult run = runCli({"texts", "import", "--strict", resource, texts, out});
    std::string po = read("texts.po");
    std::string before = po.substr(0, po.find("msgid \"Gone\""));
    auto line = std::count(before.begin(), before.end(), '\n');
    expectNothingWritten(run, "quillet-cli: " + texts + ":" + std::to_string(line + 1) +
                                  ": msgid is not a text of the resource file\n");
    // Without such an entry, --strict imports as without it.
    write("texts.po", po.substr(0, po.find("\nmsgid \"Gone\"")));
    run = runCli({"texts", "import", resource, "--strict", texts, out});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "quillet-cli: " + texts + ": 1 applied, 2 untranslated, 1 fuzzy, 0 not found\n");
    test::CliResult misplaced = runCli({"texts", "export", "--strict", resource});
    EXPECT_EQ(misplaced.exitStatus, 2);
    EXPECT_EQ(misplaced.err.rfind("quillet-cli: texts: --strict is an option of texts import\n", 0), 0u)
        << misplaced.err;
}

TEST_F(TextsImportReport, APoOfAnotherFileIsRefusedAndNothingWritten)
{
    std::string other = path("other.rsc");
    Bytes bytes = fileOfTexts({u"Start", u"Stop"});
    std::ofstream(other, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    write("texts.po", runCli({"texts", "export", "--po", other}).out);
    expectNothingWritten(runCli({"texts", "import", resource, texts, out}),
                         "quillet-cli: " + texts +
                             ": none of its 2 entries is a text of the resource file: it was made for another file\n");
}

// A TAB file made for one version of the file, applied to the next: refused at the first line
// whose source has changed, never written onto another block.
TEST_F(TextsImportReport, ATabFileOfAnotherVersionIsRefusedAtItsLine)
{
    std::string tab = textsOf(resource);
    std::string next = path("next.rsc");
    Bytes bytes = fileOfTexts({u"New", u"Open", u"Save", u"Open", u"Quit"});
    std::ofstream(next, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    write("texts.txt", tab);
    expectNothingWritten(runCli({"texts", "import", next, path("texts.txt"), out}),
                         "quillet-cli: " + path("texts.txt") +
                             ":1: the source text is not the current text of segment 2 (\"New\"): the file was made "
                             "for another version of the resource file\n");
    // Lines of the older two fields are applied by number, and said to be unchecked.
    write("texts.txt", "4\tAuf\n6\tSave\tSichern\n");
    test::CliResult run = runCli({"texts", "import", next, path("texts.txt"), out});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "quillet-cli: " + path("texts.txt") + ": 2 applied, 1 unchecked\n");
}

TEST_F(TextsImportReport, FilesThatHoldNoTextsOrUtf16OrNoFileAreRefused)
{
    struct Case {
        std::string content;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"", ": the file holds no texts"},
        {"\n\r\n", ": the file holds no texts"},
        {std::string("\xFF\xFE"
                     "2\0\t\0",
                     6),
         ":1: UTF-16 is not supported, save the file as UTF-8"},
        {"2\tOpen\tA\a\n", ":1: the text holds the control character U+0007 as it is; write it as \\u0007"},
    };
    for (const Case& c : cases) {
        write("texts.txt", c.content);
        expectNothingWritten(runCli({"texts", "import", resource, path("texts.txt"), out}),
                             "quillet-cli: " + path("texts.txt") + c.err + "\n");
    }
    expectNothingWritten(runCli({"texts", "import", resource, path("missing.txt"), out}),
                         "quillet-cli: " + path("missing.txt") + ": File not found\n");
    expectNothingWritten(runCli({"texts", "import", resource, folder_.path(), out}),
                         "quillet-cli: " + folder_.path() + ": File access denied\n");
}

TEST_F(TextsImportReport, TranslationsAreReadFromStandardInputAndFromPipes)
{
    write("texts.po", translated());
    const std::string said = ": 1 applied, 2 untranslated, 1 fuzzy, 1 not found\n";
    test::CliResult run = shell("cat texts.po | \"$QUILLET\" texts import game.rsc - out.rsc");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "quillet-cli: -" + said);
    EXPECT_EQ(textsOf(out), "2\tOpen\tOpen\n4\tSichern\tSichern\n6\tOpen\tOpen\n8\tQuit\tQuit\n");
    std::filesystem::remove(out);

    run = shell("exec bash -c '\"$0\" texts import game.rsc <(cat texts.po) out.rsc' \"$QUILLET\"");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
    EXPECT_EQ(run.err.rfind("quillet-cli: /dev/fd/", 0), 0u) << run.err;
    std::filesystem::remove(out);

    run = shell("mkfifo fifo.po && (cat texts.po > fifo.po &) && \"$QUILLET\" texts import game.rsc fifo.po out.rsc");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "quillet-cli: fifo.po" + said);
    EXPECT_TRUE(std::filesystem::exists(out));
    // A refusal read from a pipe writes nothing either.
    std::filesystem::remove(out);
    expectNothingWritten(shell("printf '' | \"$QUILLET\" texts import game.rsc - out.rsc"),
                         "quillet-cli: -: the file holds no texts\n");
}

// A pipe or a device can hold more than memory: the import says so and writes nothing.
TEST_F(TextsImportReport, TranslationsLargerThanMemoryAreRefused)
{
    if (!test::FailingAllocations::available()) GTEST_SKIP() << "ulimit -v does not bound a sanitized program";
    expectNothingWritten(shell("ulimit -v 200000 && \"$QUILLET\" texts import game.rsc /dev/zero out.rsc"),
                         "quillet-cli: /dev/zero: not enough memory to read it; nothing was written\n");
}

// The whole round of a translator across two versions, through the tool and gettext's own
// msgmerge: v1 translated, v2 with a text added before two identical ones and one changed.
TEST_F(TextsImportReport, ATranslationOfTheLastVersionCarriesOverThroughMsgmerge)
{
    SKIP_WITHOUT("msgmerge");
    write("v1.po", runCli({"texts", "export", "--po", resource}).out);
    write("de.po",
          test::translatedPo(read("v1.po"),
                             [](const std::optional<std::string>& context, const std::string& id) -> std::string {
                                 if (id == "Open") return context == "occurrence 1 of 2" ? "Öffnen" : "Offen";
                                 return id == "Save" ? "Sichern" : "Beenden";
                             }));
    Bytes bytes = fileOfTexts({u"New", u"Open", u"Save", u"Open", u"", u"Quit now"});
    std::ofstream(path("v2.rsc"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    test::CliResult run = shell("\"$QUILLET\" texts export --po v2.rsc > v2.pot && msgmerge --quiet de.po v2.pot -o "
                                "de-v2.po && \"$QUILLET\" texts import v2.rsc de-v2.po out.rsc");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "quillet-cli: de-v2.po: 3 applied, 1 untranslated, 1 fuzzy, 0 not found\n");
    EXPECT_EQ(textsOf(out), "2\tNew\tNew\n4\tÖffnen\tÖffnen\n6\tSichern\tSichern\n8\tOffen\tOffen\n10\t\t\n"
                            "12\tQuit now\tQuit now\n");
}

}  // namespace
}  // namespace quillet
