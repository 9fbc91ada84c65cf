#pragma once
// Numbers as the settings files hold them. Conversions never go through the C library's locale:
// the decimal separator is one process-wide setting, taken from the user's locale at start
// (the game parameters editor then forces ".").
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

char DecimalSeparator();
void SetDecimalSeparator(char separator);
// Sets the separator from the user's locale settings (LC_ALL, LC_NUMERIC, LANG); "." when unknown.
void UseUserLocaleDecimalSeparator();

// "123", "-5", "+7", and "$1F" or "-$1F" (hexadecimal). Leading zeros are allowed. Empty text,
// stray characters or values outside the 32-bit signed range ("$FFFFFFFF" among them) give
// nothing.
std::optional<std::int32_t> ParseInteger(std::string_view text);
// Hexadecimal digits only, leading zeros allowed; nothing above 7FFFFFFF.
std::optional<std::int32_t> ParseHexInteger(std::string_view digits);

// A decimal number with the current separator and an optional exponent ("2,5", "-1E-5").
// Hexadecimal, infinities, "nan" and values outside the double range give nothing.
std::optional<double> ParseFloat(std::string_view text);

// Texts on their way to a number, typed key by key, that do not convert yet: "", "-", "+",
// "$" for integers; "", "-", ".", "0.", "1e", "1e-" for decimals (with the current separator).
bool IntegerInTheMaking(std::string_view text);
bool FloatInTheMaking(std::string_view text);

// The general form with at most 15 significant digits: no trailing zeros, no separator for
// whole values; the exponent form ("5E-5", "1.5E20") for magnitudes below 0.0001 (other than 0)
// or with more than 15 digits before the separator.
std::string FormatFloat(double value);
// The same layout with the fewest digits that read back as the same single-precision value:
// 0.45f is "0.45", where FormatFloat of it widened gives "0.449999988079071".
std::string FormatShortestFloat(float value);
