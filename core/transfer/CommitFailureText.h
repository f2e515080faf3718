#pragma once
// What a failed write of an installation's files tells the user: the
// system's reason as a sentence of its own, then what became of the files
// (nothing changed, put back from the restore point, or which could not be
// put back).

#include "transfer/GameChangeSet.h"

#include <string>

namespace pitwall {

class UITexts;

std::string CommitFailureText(const UITexts& texts, const CommitResult& result);

} // namespace pitwall
