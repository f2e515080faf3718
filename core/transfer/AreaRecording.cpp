#include "transfer/AreaRecording.h"

#include <stdexcept>

namespace pitwall {

void AreaRecording::setProgress(const std::string& text, int weight)
{
    shown_.push_back({true, weight, Message{-1, text}});
}

void AreaRecording::showMessage(const Message& message) { shown_.push_back({false, 0, message}); }

bool AreaRecording::askYesNo(const Message& message)
{
    throw std::logic_error("A question was asked by an area running beside the others: " + message.text);
}

void AreaRecording::replay(ProgressSink& loading, MessageSink& messages,
                           std::vector<TransferFailure>& runFailures) const
{
    for (const Shown& s : shown_) {
        if (s.progress)
            loading.setProgress(s.message.text, s.weight);
        else
            messages.showMessage(s.message);
    }
    runFailures.insert(runFailures.end(), failures.begin(), failures.end());
    if (escaped)
        std::rethrow_exception(escaped);
}

} // namespace pitwall
