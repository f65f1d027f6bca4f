#include "model/change_builder.h"

namespace quillet {

void ChangeBuilder::add(EditStep step)
{
    addMade([&] { return std::move(step); });
}

void ChangeBuilder::addReplaceWrite(const BytePlace& place)
{
    auto& writes = std::get<ReplaceWrites>(change_.steps.back());
    writes.places.push_back(place);
    try {
        writeReplacementAt(document_, writes, place);
    } catch (...) {
        writes.places.pop_back();  // not written, so not to be taken back
        throw;
    }
}

void ChangeBuilder::takeBack()
{
    undoChange(document_, change_);
    change_.steps.clear();
}

}  // namespace quillet
