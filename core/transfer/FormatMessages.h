#pragma once
// Where the errors of the file formats become messages. The formats throw
// FormatError and show nothing; the transfer layer, the data areas and the
// front ends report an error that names a UI text through these, and let
// any other error travel on.

#include "base/FormatError.h"

#include <cstddef>
#include <string>
#include <type_traits>

namespace pitwall {

class Messenger;
class UITexts;
struct PictureNotes;

// Shows the UI text the error names, its placeholders filled.
void ShowFormatError(Messenger& messenger, const FormatError& error);
// The text ShowFormatError would show.
std::string FormatErrorText(const FormatError& error, const UITexts& texts);
// The name of an art-bank entry (formats/ArtEntryNames.h) in the language of
// `texts`.
std::string ArtEntryLabel(std::size_t entry, const UITexts& texts);

// Tells what taking in the picture file did beyond decoding it (a PNG's
// transparent pixels put on black), once for the file; nothing without a
// messenger.
void ShowPictureNotes(Messenger* messenger, const std::string& fileName, const PictureNotes& notes);

// Runs `action`; a FormatError naming a UI text is shown (when there is a
// messenger) and gives false. An action that returns bool gives its result.
// Errors without a UI text of their own are not this routine's to report
// and pass on.
template <typename Action>
bool ReportFormatErrors(Messenger* messenger, Action&& action)
{
    try {
        if constexpr (std::is_same_v<std::invoke_result_t<Action>, bool>) {
            return action();
        } else {
            action();
            return true;
        }
    } catch (const FormatError& e) {
        if (e.number() < 0)
            throw;
        if (messenger)
            ShowFormatError(*messenger, e);
        return false;
    }
}

} // namespace pitwall
