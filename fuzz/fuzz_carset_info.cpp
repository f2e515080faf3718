// INFO.DAT of a carset: any text gives lines; the lines written back and read
// again are the same; the information window's fields taken from them and
// put back give the same fields again.

#include "transfer/CarsetInfo.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    CarsetInfo info = ParseCarsetInfo(text);
    for (const auto& line : info.lines)
        if (line.find_first_of("\r\n") != std::string::npos)
            std::abort();
    if (ParseCarsetInfo(CarsetInfoText(info)).lines != info.lines)
        std::abort();
    CarsetInfoFields fields = CarsetInfoToFields(info);
    CarsetInfo edited;
    ApplyCarsetInfoEdits(edited, fields);
    CarsetInfoFields again = CarsetInfoToFields(edited, fields);
    if (again.version != fields.version || again.author != fields.author || again.date != fields.date
        || again.showOnLoad != fields.showOnLoad || again.text != fields.text)
        std::abort();
    return 0;
}
