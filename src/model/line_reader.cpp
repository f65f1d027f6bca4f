#include "model/line_reader.h"

#include <algorithm>

namespace quillet {

LineReader::LineReader(std::string_view text) : rest_(text)
{
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (rest_.substr(0, byteOrderMark.size()) == byteOrderMark) rest_.remove_prefix(byteOrderMark.size());
}

std::optional<std::string_view> LineReader::next()
{
    if (rest_.empty()) return std::nullopt;
    std::size_t end = std::min(rest_.find_first_of("\r\n"), rest_.size());
    std::string_view line = rest_.substr(0, end);
    std::size_t lineEnd = rest_.substr(end, 2) == "\r\n" ? 2 : end < rest_.size() ? 1 : 0;
    rest_.remove_prefix(end + lineEnd);
    ++number_;
    return line;
}

}  // namespace quillet
