#include "transfer/FormatMessages.h"

#include "base/Messages.h"
#include "base/UITexts.h"
#include "formats/ArtEntryNames.h"
#include "formats/Pictures.h"

namespace pitwall {

namespace {

FormatArgs AllArgs(const FormatError& error, const UITexts& texts)
{
    FormatArgs args = error.args();
    for (int text : error.textArgs())
        args.push_back(texts.text(text));
    return args;
}

} // namespace

void ShowPictureNotes(Messenger* messenger, const std::string& fileName, const PictureNotes& notes)
{
    if (messenger && notes.transparencyOnBlack)
        messenger->show(kTransparentOnBlackText, Args(fileName));
}

void ShowFormatError(Messenger& messenger, const FormatError& error)
{
    messenger.show(error.number(), AllArgs(error, messenger.texts()));
}

std::string FormatErrorText(const FormatError& error, const UITexts& texts)
{
    return texts.format(error.number(), AllArgs(error, texts));
}

std::string ArtEntryLabel(std::size_t entry, const UITexts& texts)
{
    const ArtEntryNameText name = ArtEntryName(entry);
    return name.args.empty() ? texts.text(name.number) : texts.format(name.number, name.args);
}

} // namespace pitwall
