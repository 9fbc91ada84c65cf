#include "NumberText.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale>
#include <system_error>

namespace {

char separatorSetting = '.';

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

char DecimalSeparator() { return separatorSetting; }

void SetDecimalSeparator(char separator) { separatorSetting = separator; }

void UseUserLocaleDecimalSeparator()
{
    separatorSetting = '.';
    try {
        // Only asks the locale which separator it uses; nothing is converted through it.
        const std::locale user("");
        separatorSetting = std::use_facet<std::numpunct<char>>(user).decimal_point();
    } catch (const std::runtime_error&) {
        // An unknown or uninstalled locale name: keep ".".
    }
}

namespace {

constexpr std::int64_t LargestMagnitude = 2147483648LL; // of -2147483648

// The value of digits in `base` (10 or 16), leading zeros allowed; nothing for empty text, a
// stray character, or a magnitude no 32-bit signed value has.
std::optional<std::int64_t> magnitude(std::string_view digits, int base)
{
    if (digits.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : digits) {
        const int d = base == 16 ? hexValue(c) : (isDigit(c) ? c - '0' : -1);
        if (d < 0)
            return std::nullopt;
        value = value * base + d;
        if (value > LargestMagnitude)
            return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> signedValue(std::optional<std::int64_t> magnitude, bool negative)
{
    if (!magnitude)
        return std::nullopt;
    const std::int64_t value = negative ? -*magnitude : *magnitude;
    if (value > LargestMagnitude - 1)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

} // namespace

std::optional<std::int32_t> ParseHexInteger(std::string_view digits) { return signedValue(magnitude(digits, 16), false); }

std::optional<std::int32_t> ParseInteger(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '$')
        return signedValue(magnitude(text.substr(1), 16), negative);
    return signedValue(magnitude(text, 10), negative);
}

std::optional<double> ParseFloat(std::string_view text)
{
    // Checked here against the current separator, then handed to from_chars with ".".
    std::string plain;
    std::size_t i = 0;
    const auto take = [&](auto accept) {
        std::size_t count = 0;
        while (i < text.size() && accept(text[i])) {
            plain += text[i++];
            ++count;
        }
        return count;
    };
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-')
            plain += '-';
        ++i;
    }
    std::size_t digits = take(isDigit);
    if (i < text.size() && text[i] == separatorSetting) {
        plain += '.';
        ++i;
        digits += take(isDigit);
    }
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            plain += text[i++];
        if (take(isDigit) == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool IntegerInTheMaking(std::string_view text)
{
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    return text.empty() || text == "$";
}

bool FloatInTheMaking(std::string_view text)
{
    std::size_t i = 0;
    const auto skipDigits = [&] {
        const std::size_t start = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        return i - start;
    };
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    std::size_t digits = skipDigits();
    if (i < text.size() && text[i] == separatorSetting) {
        ++i;
        digits += skipDigits();
    }
    if (i == text.size())
        return digits == 0 || text.back() == separatorSetting; // "", "-", ".", "0."
    if (digits == 0 || (text[i] != 'e' && text[i] != 'E'))
        return false;
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    return i == text.size(); // "1e", "1e-": the exponent's digits are still to come
}

namespace {

// A finite, non-zero number written by to_chars in scientific form ("-4.5e-01") laid out in the
// general form: plain digits for exponents from -5 to 14, else mantissa "E" exponent.
std::string generalForm(std::string_view scientific)
{
    const std::size_t ePos = scientific.find('e');
    const bool negative = scientific.front() == '-';
    std::string digits;
    for (char c : scientific.substr(0, ePos))
        if (isDigit(c))
            digits += c;
    const int exponent = std::atoi(std::string(scientific.substr(ePos + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string text = negative ? "-" : "";
    if (exponent < -4 || exponent >= 15) {
        text += digits.front();
        if (digits.size() > 1)
            text += separatorSetting + digits.substr(1);
        text += 'E' + std::to_string(exponent);
    } else if (exponent < 0) {
        text += '0';
        text += separatorSetting;
        text += std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            text += digits + std::string(whole - digits.size(), '0');
        } else {
            text += digits.substr(0, whole);
            text += separatorSetting;
            text += digits.substr(whole);
        }
    }
    return text;
}

// The text of 0, NaN and the infinities, which have no digits to lay out.
std::optional<std::string> specialText(double value)
{
    if (value == 0)
        return "0";
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    return std::nullopt;
}

} // namespace

std::string FormatFloat(double value)
{
    if (const auto special = specialText(value))
        return *special;
    // 15 significant digits, rounded once; the exponent is the one after rounding.
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    return generalForm(std::string_view(buffer, result.ptr));
}

std::string FormatShortestFloat(float value)
{
    if (const auto special = specialText(value))
        return *special;
    // Without a precision to_chars gives the fewest digits that read back as the same float.
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    return generalForm(std::string_view(buffer, result.ptr));
}
