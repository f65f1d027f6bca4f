#pragma once
#include <string>
#include <vector>

#include "cli/cli_support.h"

namespace quillet::cli {

// Exit codes of the tool: 0 done, 1 a file or data error (or nothing found), 2 a usage error.
constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;
// find's 1 means "no hit": a source changed while it was searched ends it with 2, as grep's trouble.
constexpr int ExitFindChangedSource = 2;

// Each command takes its parsed arguments and returns the tool's exit code.

// list [--codepage CP] [--json] FILE: the index list and the segment list as the editor shows them.
int runList(const Arguments& args);
// copy [--codepage CP] IN OUT: loads IN and saves it to OUT.
int runCopy(const Arguments& args);
// texts export [--po | --format NAME] FILE / texts import FILE TEXTS OUT: the translator's round trip.
int runTexts(const Arguments& arguments);
// find [--hex|--text|--unicode] [--codepage CP] PATTERN FILE: every hit in the order "Find next"
// visits them from the first segment, one line each; exit 1 when there is none, 2 when FILE
// changed on disk while it was searched.
int runFind(const Arguments& args);
// replace [--hex|--text|--unicode] [--codepage CP] PATTERN REPLACEMENT IN OUT: replaces from the
// beginning, saves OUT and then prints the count.
int runReplace(const Arguments& args);

}  // namespace quillet::cli
