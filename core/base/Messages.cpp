#include "base/Messages.h"

#include "base/UITexts.h"

namespace pitwall {

void Messenger::show(int number, const FormatArgs& args)
{
    sink_.showMessage(Message{number, texts_.format(number, args)});
}

bool Messenger::ask(int number, const FormatArgs& args)
{
    return sink_.askYesNo(Message{number, texts_.format(number, args)});
}

bool Messenger::askNoByDefault(int number, const FormatArgs& args)
{
    return sink_.askYesNo(Message{number, texts_.format(number, args), true});
}

void Messenger::showFixed(std::string text) { sink_.showMessage(Message{-1, std::move(text)}); }

} // namespace pitwall
