#include "base/DelphiFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace pitwall {

namespace {

constexpr std::size_t kMaxFormattedSize = 1u << 20;

struct Spec {
    bool leftAlign = false;
    int width = -1;
    int precision = -1;
    char type = 0;
};

[[noreturn]] void Fail(std::string_view format)
{
    throw FormatTextError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

std::string Pad(std::string body, const Spec& spec)
{
    if (spec.width > 0 && static_cast<int>(body.size()) < spec.width) {
        std::string fill(static_cast<std::size_t>(spec.width) - body.size(), ' ');
        body = spec.leftAlign ? body + fill : fill + body;
    }
    return body;
}

std::string WithMinimumDigits(std::string digits, int precision)
{
    bool negative = !digits.empty() && digits[0] == '-';
    std::string magnitude = negative ? digits.substr(1) : digits;
    if (precision > 0 && static_cast<int>(magnitude.size()) < precision)
        magnitude.insert(0, static_cast<std::size_t>(precision) - magnitude.size(), '0');
    return negative ? "-" + magnitude : magnitude;
}

// The value with `decimals` decimals, rounded half away from zero as Delphi
// does (printf rounds exact ties to even). glibc prints the exact binary
// value with enough digits, so the tie is seen in the digits themselves.
std::string RoundedDecimal(double v, int decimals)
{
    // At most 309 integer digits and 18 + 30 decimals.
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", std::clamp(decimals, 0, 18) + 30, v);
    std::string exact = buffer;
    bool negative = exact[0] == '-';
    std::string digits = negative ? exact.substr(1) : exact;
    std::size_t dot = digits.find('.');
    std::size_t keep = dot + 1 + static_cast<std::size_t>(decimals); // index of the first dropped digit
    bool up = digits[keep] >= '5';
    std::string kept = digits.substr(0, decimals == 0 ? dot : keep);
    if (up) {
        int i = static_cast<int>(kept.size()) - 1;
        for (; i >= 0; --i) {
            if (kept[static_cast<std::size_t>(i)] == '.')
                continue;
            if (kept[static_cast<std::size_t>(i)] == '9') {
                kept[static_cast<std::size_t>(i)] = '0';
            } else {
                ++kept[static_cast<std::size_t>(i)];
                break;
            }
        }
        if (i < 0)
            kept = '1' + kept;
    }
    bool zero = kept.find_first_not_of("0.") == std::string::npos;
    return (negative && !zero) ? "-" + kept : kept;
}

std::string Fixed(double v, int decimals, const NumberFormat& nf, bool grouped)
{
    std::string s = RoundedDecimal(v, decimals);
    auto dot = s.find('.');
    std::string intPart = dot == std::string::npos ? s : s.substr(0, dot);
    std::string frac = dot == std::string::npos ? "" : s.substr(dot + 1);
    if (grouped) {
        bool negative = !intPart.empty() && intPart[0] == '-';
        std::string digits = negative ? intPart.substr(1) : intPart;
        std::string g;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % 3 == 0)
                g += nf.thousandSeparator;
            g += digits[i];
        }
        intPart = negative ? "-" + g : g;
    }
    return frac.empty() ? intPart : intPart + nf.decimalSeparator + frac;
}

// Delphi's %e: one digit, the decimal separator, precision-1 digits, "E", a
// sign and at least three exponent digits.
std::string Scientific(double v, int precision, const NumberFormat& nf)
{
    if (precision <= 0 || precision > 18)
        precision = 15;
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.*E", precision - 1, v);
    std::string s = buf;
    auto e = s.find('E');
    std::string mantissa = s.substr(0, e);
    std::string exponent = s.substr(e + 1);
    char sign = exponent[0];
    std::string expDigits = exponent.substr(1);
    if (expDigits.size() < 3)
        expDigits = std::string(3 - expDigits.size(), '0') + expDigits;
    auto dot = mantissa.find('.');
    if (dot != std::string::npos)
        mantissa[dot] = nf.decimalSeparator;
    return mantissa + "E" + sign + expDigits;
}

std::string General(double v, int precision, const NumberFormat& nf)
{
    if (precision <= 0 || precision > 18)
        precision = 15;
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.*G", precision, v);
    std::string s = buf;
    auto dot = s.find('.');
    if (dot != std::string::npos)
        s[dot] = nf.decimalSeparator;
    return s;
}

bool IsInteger(const FormatArg& a) { return std::holds_alternative<std::int64_t>(a); }

} // namespace

std::string FormatText(std::string_view format, const FormatArgs& args, const NumberFormat& nf)
{
    std::string out;
    std::size_t next = 0; // index of the next argument
    std::size_t i = 0;
    auto takeNumber = [&](std::size_t& pos, int& value) -> bool {
        if (pos < format.size() && format[pos] == '*') {
            if (next >= args.size() || !IsInteger(args[next]))
                Fail(format);
            // A width taken from the arguments obeys the limit a written one
            // does, so a language file's "%*d" cannot ask for gigabytes.
            const std::int64_t taken = std::get<std::int64_t>(args[next++]);
            if (taken < -100000 || taken > 100000)
                Fail(format);
            value = static_cast<int>(taken);
            ++pos;
            return true;
        }
        bool any = false;
        long long v = 0;
        while (pos < format.size() && format[pos] >= '0' && format[pos] <= '9') {
            v = v * 10 + (format[pos] - '0');
            if (v > 100000)
                Fail(format);
            ++pos;
            any = true;
        }
        if (any)
            value = static_cast<int>(v);
        return any;
    };

    while (i < format.size()) {
        char c = format[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        ++i;
        if (i >= format.size())
            Fail(format);
        if (format[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        Spec spec;
        // Index form "%n:" (also "%*:"); a plain number without ':' is a width.
        std::size_t save = i;
        int number = -1;
        bool hadNumber = takeNumber(i, number);
        if (hadNumber && i < format.size() && format[i] == ':') {
            if (number < 0)
                Fail(format);
            next = static_cast<std::size_t>(number);
            ++i;
            hadNumber = false;
            number = -1;
        } else {
            // Not an index: parse again from the start as flags and width.
            next -= (hadNumber && save < format.size() && format[save] == '*') ? 1 : 0;
            i = save;
            hadNumber = false;
        }
        if (i < format.size() && format[i] == '-') {
            spec.leftAlign = true;
            ++i;
        }
        int width = -1;
        if (takeNumber(i, width))
            spec.width = width;
        if (i < format.size() && format[i] == '.') {
            ++i;
            int precision = -1;
            if (!takeNumber(i, precision))
                precision = 0;
            spec.precision = precision;
        }
        if (i >= format.size())
            Fail(format);
        spec.type = static_cast<char>(format[i] >= 'a' && format[i] <= 'z' ? format[i] - 32 : format[i]);
        ++i;
        if (next >= args.size())
            Fail(format);
        const FormatArg& arg = args[next++];

        std::string body;
        switch (spec.type) {
        case 'D':
            if (!IsInteger(arg))
                Fail(format);
            body = WithMinimumDigits(std::to_string(std::get<std::int64_t>(arg)), spec.precision);
            break;
        case 'U': {
            if (!IsInteger(arg))
                Fail(format);
            auto v = std::get<std::int64_t>(arg);
            // Delphi shows a negative Integer as its unsigned 32-bit value.
            std::uint64_t u = (v < 0 && v >= INT32_MIN) ? static_cast<std::uint32_t>(v) : static_cast<std::uint64_t>(v);
            body = WithMinimumDigits(std::to_string(u), spec.precision);
            break;
        }
        case 'X':
        case 'P': {
            if (!IsInteger(arg))
                Fail(format);
            auto v = std::get<std::int64_t>(arg);
            std::uint64_t u = (v < 0 && v >= INT32_MIN) ? static_cast<std::uint32_t>(v) : static_cast<std::uint64_t>(v);
            char buf[32];
            std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(u));
            body = WithMinimumDigits(buf, spec.type == 'P' ? 8 : spec.precision);
            break;
        }
        case 'E':
        case 'F':
        case 'G':
        case 'N':
        case 'M': {
            double v;
            if (std::holds_alternative<double>(arg))
                v = std::get<double>(arg);
            else
                Fail(format);
            if (!std::isfinite(v)) {
                body = std::isnan(v) ? "NAN" : (v > 0 ? "INF" : "-INF");
                break;
            }
            int decimals = spec.precision < 0 ? 2 : std::min(spec.precision, 18);
            if (spec.type == 'E')
                body = Scientific(v, spec.precision, nf);
            else if (spec.type == 'G')
                body = General(v, spec.precision, nf);
            else
                body = Fixed(v, decimals, nf, spec.type != 'F');
            break;
        }
        case 'S': {
            if (!std::holds_alternative<std::string>(arg))
                Fail(format);
            body = std::get<std::string>(arg);
            if (spec.precision >= 0 && static_cast<std::size_t>(spec.precision) < body.size())
                body.resize(static_cast<std::size_t>(spec.precision));
            break;
        }
        default:
            Fail(format);
        }
        out += Pad(std::move(body), spec);
        // Widths of up to 100000 over an argument used again and again would
        // let one line of a language file ask for gigabytes.
        if (out.size() > kMaxFormattedSize)
            Fail(format);
    }
    return out;
}

} // namespace pitwall
