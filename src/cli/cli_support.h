#pragma once
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "model/codepage.h"
#include "model/document.h"

namespace quillet::cli {

// Exit codes of the tool: 0 done, 1 a file or data error (or nothing found), 2 a usage error.
constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

// The tool's standard output: std::cout writes through it once main took it. It writes to the
// descriptor itself, so that the reason of a write that failed is kept to be told.
void takeStandardOutput();
// Flushes standard output; when a write or the flush failed, says so once as
// "quillet-cli: -: <reason>" and returns false.
bool standardOutputWritten();
// `status` when all that was printed reached standard output, else `failure`: every command
// ends with it, so that a full disk is never a success.
int checkedOutput(int status, int failure = ExitFailure);

// The file the tool reads or writes now, which a message about trouble names (the load and save
// helpers below set it).
void workingOn(const std::string& path);
// main's one handler of every exception a command lets through: "quillet-cli: FILE: not enough
// memory" for lack of memory, the exception's own text otherwise. Returns `failure`.
int reportTrouble(const std::exception_ptr& trouble, int failure);

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

// The name that stands for standard input where a file is read, for standard output where one
// is written.
inline const std::string StandardStream = "-";

// An open file read by pieces to its end, pipes included, up to MaxReadLength. Throws IoError.
Bytes readToEnd(int fd);
// A whole file, or standard input for "-" (read once, pipes included, up to MaxReadLength).
// Throws IoError.
Bytes readInput(const std::string& path);
// Loads a file as the editor does, except that a missing file is an error here; "-" reads the
// resource from standard input into memory. Reports the error and returns nothing on failure.
std::optional<Document> loadOrReport(const std::string& path);
// Warns on stderr, one line each, of the ways the edited document, saved to `out`, would load
// back otherwise than it was cut here.
void warnOfLoadDifferences(const Document& document, const std::string& out);
// Saves as "Save file as" does; reports and returns false on failure. A document whose mapped
// file `source` changed on disk since it was read, or was cut short, is not saved: that is
// reported for `source`. "-" writes the bytes to standard output as they are made, which is not
// atomic: a failure may leave part of them there.
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
    // False once the file changed or standard output failed: the rest would go nowhere.
    bool writing() const { return !changed_ && static_cast<bool>(std::cout); }

private:
    void giveOut();

    const Document& document_;
    const std::string& source_;
    std::string text_;
    bool changed_ = false;
};

}  // namespace quillet::cli
