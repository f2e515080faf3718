// Language files (*.LNG): any bytes give UI texts; every text formats with
// the arguments the program passes (numbers, names) or shows as it stands,
// whatever placeholders a translator wrote.

#include "app/Language.h"
#include "base/UITexts.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto lines = SplitLines(text);
    const std::size_t count = lines.size();
    UITexts texts;
    bool complete = BuildUITexts(std::move(lines), texts);
    if (complete != (count >= static_cast<std::size_t>(UITexts::kMinimumLines)))
        std::abort();
    if (texts.all().size() + 1 < static_cast<std::size_t>(UITexts::kMinimumLines))
        std::abort();
    const FormatArgs argumentSets[] = {
        {}, Args(7), Args(std::string("GP3.EXE")), Args(3, 1.5, "x"), Args("a", "b", -12345678901LL)};
    const std::size_t shown = std::min<std::size_t>(texts.all().size(), 64);
    for (std::size_t n = 0; n < shown; ++n)
        for (const auto& args : argumentSets)
            texts.format(static_cast<int>(n), args);
    return 0;
}
