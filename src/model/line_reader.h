#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

namespace quillet {

// Reads a text a line at a time, as the translators' files come from any system's editors: a
// UTF-8 byte order mark at the very start is taken off, a line ends at LF, CR LF or a CR alone
// (as old Mac editors end them), and lines are numbered from 1 for the messages that name them.
class LineReader {
public:
    explicit LineReader(std::string_view text);

    // The next line without its line end; nothing after the last one. A line end closes a
    // line, so a text that ends with one has no empty line after it.
    std::optional<std::string_view> next();
    // The 1-based number of the line next() gave last.
    std::size_t lineNumber() const { return number_; }

private:
    std::string_view rest_;
    std::size_t number_ = 0;
};

}  // namespace quillet
