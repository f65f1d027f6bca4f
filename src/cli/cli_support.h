#pragma once
#include <optional>
#include <string>
#include <vector>

#include "model/codepage.h"
#include "model/document.h"

namespace quillet::cli {

// Prints "quillet-cli: <subject>: <text>" on stderr.
void reportError(const std::string& subject, const std::string& text);
// Prints "quillet-cli: <text>" and a hint to --help on stderr; returns the usage exit status.
int usageError(const std::string& text);

// What a command accepts besides "--codepage CP", which every command takes.
struct CommandOptions {
    std::string name;
    std::vector<std::string> flags;         // options without a value, e.g. "--json"
    std::vector<std::string> valueOptions;  // options with one, written "--x V" or "--x=V"
    bool namesItselfInErrors = true;        // "list: unknown option ..." or "unknown option ..."
};

// The arguments of a command, options taken out. "--" ends the options: what follows is an
// operand even when it starts with "-".
struct Arguments {
    CodePage codePage = CodePage::system();
    std::vector<std::string> flags;  // in the order given
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::string> operands;

    bool has(const std::string& flag) const;
    std::optional<std::string> value(const std::string& option) const;
};

// Reports a usage error and returns nothing for an unknown option, a missing value or an
// unknown code page.
std::optional<Arguments> parseArguments(const std::vector<std::string>& args, const CommandOptions& options);

// A text given on the command line as UTF-16 units; reports and returns nothing when it is not
// valid UTF-8.
std::optional<std::u16string> textArgument(const std::string& argument);

// Loads a file as the editor does, except that a missing file is an error here. Reports the
// error and returns nothing on failure.
std::optional<Document> loadOrReport(const std::string& path);
// Warns on stderr, one line each, of the ways the edited document, saved to `out`, would load
// back otherwise than it was cut here.
void warnOfLoadDifferences(const Document& document, const std::string& out);
// Saves as "Save file as" does; reports and returns false on failure. A document whose mapped
// file `source` changed on disk since it was read is not saved: that is reported for `source`.
bool saveOrReport(const Document& document, const std::string& source, const std::string& path);
// Reports, for `source`, that the mapped file the document reads changed on disk since it was
// read, so that what a command read of it may not belong together; false when it did not.
bool reportIfSourceChanged(const Document& document, const std::string& source);

// Standard output gathered into pieces of about a megabyte: a list of millions of lines is
// written quickly and never held whole. A piece is given out only while the file the document
// was read from is still as it was, so that nothing read from bytes another program changed
// meanwhile is printed; from then on nothing more is.
class CheckedOutput {
public:
    CheckedOutput(const Document& document, const std::string& source) : document_(document), source_(source) {}
    CheckedOutput& operator<<(const std::string& text);
    // Gives out the rest; false, once reported, when the file changed.
    bool finish();

private:
    void giveOut();

    const Document& document_;
    const std::string& source_;
    std::string text_;
    bool changed_ = false;
};

}  // namespace quillet::cli
