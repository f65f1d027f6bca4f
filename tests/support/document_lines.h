#pragma once
#include <string>
#include <vector>

#include "model/document.h"

namespace quillet::test {

// Every line of the segment list.
inline std::vector<std::string> linesOf(const Document& document)
{
    std::vector<std::string> all;
    for (std::size_t j = 0; j < document.segments.size(); ++j) all.push_back(document.segmentLine(j));
    return all;
}

}  // namespace quillet::test
