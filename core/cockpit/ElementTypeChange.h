#pragma once
// The editor's type choice for an LCD element: the new type, and for the
// changes that need it a starting position and text, so that an element
// turned into a highlight or placeholder is at once something the game can
// show.

#include "cockpit/LcdDisplay.h"

#include <string>

namespace pitwall {

// `firstPlaceholderCaption` is UI text 520 (Windows-1252).
void ChangeElementType(LcdElement& element, LcdType to, const std::string& firstPlaceholderCaption);

} // namespace pitwall
