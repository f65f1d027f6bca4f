#pragma once
#include <string>
#include <string_view>

namespace quillet::cli {

// Text for a terminal or a line-based reader: every control character as an escape, as ls
// shows them ("\n", "\t", "\e", "\x01", "\x7F"; a C1 control as "\u0085"), so that a text can
// neither drive the terminal nor break a line. With `backslashes`, a backslash is doubled, so
// that the escapes cannot be told from the text.
std::string withEscapedControls(std::string_view utf8, bool backslashes);

// A file name as a message shows it: as it is, or quoted and escaped when it holds a control
// character, so that a name with a newline cannot forge a second line.
std::string shownName(const std::string& name);

}  // namespace quillet::cli
