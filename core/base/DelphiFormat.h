#pragma once
// Formatting of UI texts with placeholders. Language files written by users
// and translators use the Delphi `Format` syntax, so that is what this reads:
//   %[index:][-][width][.precision]type     with index, width, precision as digits or '*'
// types d u x e f g n m p s (either case) and %% for a percent sign.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pitwall {

using FormatArg = std::variant<std::int64_t, double, std::string>;
using FormatArgs = std::vector<FormatArg>;

class FormatTextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct NumberFormat {
    char decimalSeparator = '.';
    char thousandSeparator = ',';
};

// Throws FormatTextError when a placeholder is malformed, names a missing
// argument or does not fit its argument's type, or when the text would grow
// beyond a megabyte.
std::string FormatText(std::string_view format, const FormatArgs& args, const NumberFormat& numbers = {});

// Convenience for building argument lists: Args(3, "name", 1.5).
template <typename... T>
FormatArgs Args(T&&... values)
{
    FormatArgs out;
    (out.push_back([](auto&& v) -> FormatArg {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_floating_point_v<V>)
            return static_cast<double>(v);
        else if constexpr (std::is_integral_v<V>)
            return static_cast<std::int64_t>(v);
        else
            return std::string(v);
    }(std::forward<T>(values))),
     ...);
    return out;
}

} // namespace pitwall
