#include "search/search_start.h"

#include <algorithm>
#include <cstdint>

namespace quillet {

std::size_t startIndexAfterCell(int lead, GridCell current)
{
    std::int64_t position = (current.row - 1) * 16 + current.col + 1 - lead;  // counted from 1
    return static_cast<std::size_t>(std::max<std::int64_t>(1, position) - 1);
}

std::size_t shownHitIndex(std::size_t hitIndex, std::size_t dataSize)
{
    if (dataSize == 0) return 0;
    return std::min(hitIndex, dataSize - 1);
}

}  // namespace quillet
