#include "app/qt/typing_limit.h"

#include <algorithm>

namespace quillet {

QValidator::State TypingLimit::validate(QString& input, int& position) const
{
    if (limit_ <= 0 || input.size() <= limit_ || input.size() <= acceptedLength_) return Acceptable;
    // One character typed past the limit is refused; the end of a longer insertion (a paste,
    // which ends at the cursor) is cut off, never half a surrogate pair.
    qsizetype excess = input.size() - std::max<qsizetype>(limit_, acceptedLength_);
    if (input.size() - acceptedLength_ <= 1 || excess > position) return Invalid;
    qsizetype cutFrom = position - excess;
    if (cutFrom > 0 && input.at(cutFrom - 1).isHighSurrogate()) --cutFrom;
    input.remove(cutFrom, position - cutFrom);
    position = static_cast<int>(cutFrom);
    cut_ = true;
    return Acceptable;
}

}  // namespace quillet
