#include "cockpit/ElementTypeChange.h"

namespace pitwall {

namespace {
void Position(LcdElement& e, std::uint8_t column, std::uint8_t row)
{
    e[1] = column;
    e[2] = 0;
    e[3] = row;
    e[4] = 0;
}
} // namespace

void ChangeElementType(LcdElement& e, LcdType to, const std::string& firstPlaceholderCaption)
{
    const auto from = static_cast<LcdType>(e.type());
    e.setType(to);
    if (to == LcdType::None || from == to)
        return;
    switch (from) {
    case LcdType::None:
        if (to == LcdType::Highlight) {
            e.setText("");
            Position(e, 5, 10);
        } else if (to == LcdType::Placeholder) {
            e.setText(firstPlaceholderCaption);
            e[LcdElement::kIndex] = 0;
            e[5] = 0;
            Position(e, 5, 3);
        } else if (to == LcdType::Text) {
            e.setText("");
            Position(e, 5, 3);
        }
        break;
    case LcdType::Highlight:
        if (to == LcdType::Placeholder) {
            e[0] = 0;
            e[3] = 3;
            e[4] = 0;
            e[5] = 0;
            e[LcdElement::kIndex] = 0;
            e.setText(firstPlaceholderCaption);
        } else if (to == LcdType::Text) {
            e.setText("");
            e[3] = 3;
            e[4] = 0;
            e[LcdElement::kNumber] = 0;
        }
        break;
    case LcdType::Placeholder:
    case LcdType::Text:
        if (to == LcdType::Highlight) {
            // A highlight's end column starts five characters after its start.
            e.setText("");
            e[3] = static_cast<std::uint8_t>(e[1] + 5);
            e[4] = e[2];
        } else if (from == LcdType::Placeholder && to == LcdType::Text) {
            e[LcdElement::kNumber] = 0;
        } else if (from == LcdType::Text && to == LcdType::Placeholder) {
            e.setText(firstPlaceholderCaption);
            e[LcdElement::kIndex] = 0;
            e[5] = 0;
        }
        break;
    default:
        break;
    }
}

} // namespace pitwall
