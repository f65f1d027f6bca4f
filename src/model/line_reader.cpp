#include "model/line_reader.h"

namespace quillet {

LineReader::LineReader(std::string_view text) : rest_(text)
{
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (rest_.substr(0, byteOrderMark.size()) == byteOrderMark) rest_.remove_prefix(byteOrderMark.size());
}

std::optional<std::string_view> LineReader::next()
{
    if (rest_.empty()) return std::nullopt;
    std::size_t end = rest_.find('\n');
    std::string_view line = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number_;
    return line;
}

}  // namespace quillet
