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

// Takes "--codepage CP" (or "--codepage=CP") out of the arguments. Returns false, after
// reporting, when the code page is unknown or missing.
bool takeCodePage(std::vector<std::string>& args, CodePage& codePage);
// Takes a flag without value out of the arguments; true when it was there.
bool takeFlag(std::vector<std::string>& args, const std::string& flag);
// The first argument that starts with "-" and is not "-" itself, if any.
std::optional<std::string> firstOption(const std::vector<std::string>& args);

// Loads a file as the editor does, except that a missing file is an error here. Reports the
// error and returns nothing on failure.
std::optional<Document> loadOrReport(const std::string& path, const CodePage& codePage);
// Saves as "Save file as" does; reports and returns false on failure.
bool saveOrReport(const Document& document, const std::string& path);

}  // namespace quillet::cli
