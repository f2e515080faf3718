#include "JsonOutput.h"

#include "base/Windows1252.h"

namespace pitwall::cli {

namespace {

// Bytes a standard Windows-1252 decoder does not give back unchanged: the
// undefined five and the controls other than tab and line breaks.
bool NeedsRaw(std::string_view bytes)
{
    for (unsigned char c : bytes) {
        if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D)
            return true;
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F)
            return true;
    }
    return false;
}

std::string Hex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 0xF];
    }
    return hex;
}

} // namespace

void AddJsonFlag(CLI::App& command, CliContext& context)
{
    command.add_flag_callback("--json", [&context] { context.json = true; }, "Print one JSON document on stdout");
}

void SetGameText(Json& object, const std::string& key, std::string_view windows1252)
{
    object[key] = Windows1252ToUtf8(windows1252);
    if (NeedsRaw(windows1252))
        object[key + "Raw"] = Hex(windows1252);
}

Json GameTextValue(std::string_view windows1252)
{
    if (!NeedsRaw(windows1252))
        return Windows1252ToUtf8(windows1252);
    return Json{{"text", Windows1252ToUtf8(windows1252)}, {"raw", Hex(windows1252)}};
}

void PrintJson(CliContext& context, const Json& document)
{
    // Invalid UTF-8 cannot come from the conversions above; replace rather
    // than throw should a path from the file system slip in.
    context.out << document.dump(2, ' ', false, nlohmann::detail::error_handler_t::replace) << '\n';
}

} // namespace pitwall::cli
