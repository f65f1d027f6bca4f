#pragma once
#include <string>
#include <vector>

#include "cli/cli_support.h"

namespace quillet::cli {

// find answers as grep does: 0 a hit, 1 no hit, 2 any trouble.
constexpr int ExitFindTrouble = 2;

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
