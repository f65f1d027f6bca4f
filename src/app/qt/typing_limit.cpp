#include "app/qt/typing_limit.h"

namespace quillet {

QValidator::State TypingLimit::validate(QString& input, int&) const
{
    if (limit_ <= 0 || input.size() <= limit_ || input.size() <= acceptedLength_) return Acceptable;
    return Invalid;
}

}  // namespace quillet
