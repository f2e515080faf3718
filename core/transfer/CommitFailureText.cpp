#include "transfer/CommitFailureText.h"

#include "base/DelphiFormat.h"
#include "base/UITexts.h"
#include "transfer/TransferEngine.h"

#include <cstdint>

namespace pitwall {

namespace {

// A message ended as a sentence, so that the next one does not run on
// ("No space left on device. The files ...").
std::string WithFullStop(std::string text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n'))
        text.pop_back();
    if (!text.empty() && text.back() != '.' && text.back() != '!' && text.back() != '?')
        text += '.';
    return text;
}

} // namespace

std::string CommitFailureText(const UITexts& texts, const CommitResult& result)
{
    using namespace transfer_text;
    std::string text = WithFullStop(result.error);
    if (result.written.empty()) {
        text += texts.text(kNothingChanged);
    } else if (result.rolledBack) {
        text += texts.format(kRolledBack, Args(result.restorePointId));
    } else {
        std::string list;
        for (const auto& f : result.rollbackFailures)
            list += "|" + f;
        text += " " + texts.format(kNotPutBack, Args(static_cast<std::int64_t>(result.rollbackFailures.size()), list));
    }
    return text;
}

} // namespace pitwall
