// Drives the Editor through a sequence of commands read from the input, on a document read from
// the input, and checks after each the rules every command keeps (tests/support/edit_rules.h):
// the driver is the one the property test runs from a seeded generator.
//
// The input: a 16-bit length F (low byte first), F bytes of the file, a byte choosing the code
// page, then the commands, one byte naming each and the bytes it reads after it
// (tests/support/command_driver.h). A short input reads as zeros at its end.
#include <cstdint>

#include "app/editor.h"
#include "fuzz/fuzz_check.h"
#include "model/codepage.h"
#include "model/loader.h"
#include "support/command_driver.h"
#include "support/scripted_prompts.h"

namespace {

constexpr int MostCommands = 200;

const quillet::CodePage& codePageFor(std::uint8_t choice)
{
    using quillet::CodePage;
    static const CodePage pages[] = {*CodePage::byName("1252"), *CodePage::byName("1251"), *CodePage::byName("932")};
    return pages[choice % 3];
}

void abortOn(const quillet::test::Fault& fault)
{
    quillet::fuzz::fail(fault.rule, fault.detail);
}

}  // namespace

// libFuzzer calls this name.
// NOLINTNEXTLINE(readability-identifier-naming)
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quillet;
    test::BufferSource input(data, size);
    Bytes file = input.bytes(input.word());
    test::ScriptedPrompts prompts;
    Editor editor(prompts, codePageFor(input.byte()));
    editor.openDocument(parseResource(std::move(file)), "fuzz.rsc");
    test::CommandDriver(editor, prompts, input, abortOn).run(MostCommands);
    return 0;
}
