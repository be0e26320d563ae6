#pragma once

#include "platform/ui/CollectionViewFlowLayout.h"

namespace lectoro {

// A flow layout that mirrors its items when the application lays out right to left.
class RTLorLTRFlowLayoutForReader : public ui::CollectionViewFlowLayout {
public:
    static std::shared_ptr<RTLorLTRFlowLayoutForReader> create();

    bool flipsHorizontallyInOppositeLayoutDirection() const override;

protected:
    RTLorLTRFlowLayoutForReader() = default;
};

} // namespace lectoro
