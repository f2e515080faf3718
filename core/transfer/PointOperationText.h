#pragma once
// A restore point's operation in the user's language.

#include "base/UITexts.h"
#include "transfer/RestorePoints.h"

#include <string>

namespace pitwall {

// UI texts 1180-1189 and 1192 with the point's arguments: a message text
// (Windows-1252 with file and carset names in UTF-8, for MessageTextToUtf8);
// a point of an older version that kept only words shows those words.
std::string OperationText(const RestorePoint& point, const UITexts& texts);

} // namespace pitwall
