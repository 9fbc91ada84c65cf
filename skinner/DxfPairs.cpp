#include "DxfPairs.h"

#include <charconv>
#include <cstdlib>
#include <string>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The whole number a code line holds, or -1.
int codeOf(std::string_view line)
{
    int code = -1;
    const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), code);
    return ec == std::errc() && end == line.data() + line.size() && !line.empty() ? code : -1;
}

} // namespace

bool DxfPairs::next(DxfPair& pair)
{
    // Both lines must be there: a code without its value ends the text.
    const std::size_t codeEnd = text_.find('\n', at_);
    if (at_ >= text_.size() || codeEnd == std::string_view::npos)
        return false;
    const std::size_t valueStart = codeEnd + 1;
    if (valueStart >= text_.size())
        return false;
    std::size_t valueEnd = text_.find('\n', valueStart);
    if (valueEnd == std::string_view::npos)
        valueEnd = text_.size();
    pair.code = codeOf(trimmed(text_.substr(at_, codeEnd - at_)));
    pair.value = trimmed(text_.substr(valueStart, valueEnd - valueStart));
    line_ += 2;
    pair.valueLine = line_;
    at_ = valueEnd + 1;
    ++pairsRead_;
    return true;
}

bool IsBinaryDxf(std::string_view text) { return text.starts_with("AutoCAD Binary DXF"); }

std::optional<double> DxfReal(std::string_view value)
{
    if (!value.empty() && value.front() == '+')
        value.remove_prefix(1);
    double number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || end != value.data() + value.size())
        return std::nullopt;
    if (ec == std::errc::result_out_of_range) // beyond a double: infinite, or zero when tiny
        return std::strtod(std::string(value).c_str(), nullptr);
    if (ec != std::errc())
        return std::nullopt;
    return number;
}
