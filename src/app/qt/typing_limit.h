#pragma once
#include <QValidator>

#include <utility>

namespace quillet {

// The typing limit of a classic edit control: the person may not type the text past the limit,
// but text that the program put in may be longer and may still be shortened. (QLineEdit's own
// maximum length would cut such text off.) A paste that would pass the limit is cut to it, from
// its end. Call accept() with every text the edit takes.
class TypingLimit : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    // 0: no limit.
    void setLimit(int characters) { limit_ = characters; }
    int limit() const { return limit_; }
    void accept(const QString& text) { acceptedLength_ = text.size(); }
    // Whether the last text taken was a paste cut to the limit; asking clears it.
    bool takeCut() { return std::exchange(cut_, false); }

    State validate(QString& input, int& position) const override;

private:
    int limit_ = 0;
    qsizetype acceptedLength_ = 0;
    mutable bool cut_ = false;
};

}  // namespace quillet
