#include "vessot/Format.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace vessot {

String FormatArg::asText() const {
    if (auto s = std::get_if<String>(&value)) {
        return *s;
    }
    if (auto i = std::get_if<long long>(&value)) {
        return String(*i);
    }
    return String::fromDouble(std::get<double>(value));
}

long long FormatArg::asInteger() const {
    if (auto s = std::get_if<String>(&value)) {
        return s->toInt();
    }
    if (auto i = std::get_if<long long>(&value)) {
        return *i;
    }
    double d = std::get<double>(value);
    return std::isfinite(d) ? (long long)d : 0;
}

double FormatArg::asReal() const {
    if (auto s = std::get_if<String>(&value)) {
        return s->toDouble();
    }
    if (auto i = std::get_if<long long>(&value)) {
        return (double)*i;
    }
    return std::get<double>(value);
}

namespace {

struct Spec {
    bool leftAlign = false;
    bool zeroPad = false;
    bool plusSign = false;
    bool spaceSign = false;
    int width = 0;
    int precision = -1;
};

String pad(String body, const Spec& spec, bool numeric) {
    if ((int)body.size() >= spec.width) {
        return body;
    }
    size_t fill = (size_t)spec.width - body.size();
    if (spec.leftAlign) {
        return body + String(std::string(fill, ' '));
    }
    if (spec.zeroPad && numeric) {
        size_t signLength = (!body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' ')) ? 1 : 0;
        body.insert(signLength, fill, '0');
        return body;
    }
    return String(std::string(fill, ' ')) + body;
}

String withSign(String digits, bool negative, const Spec& spec) {
    if (negative) {
        return "-" + digits;
    }
    if (spec.plusSign) {
        return "+" + digits;
    }
    if (spec.spaceSign) {
        return " " + digits;
    }
    return digits;
}

String formatInteger(long long value, const Spec& spec) {
    unsigned long long magnitude = value < 0 ? 0ull - (unsigned long long)value : (unsigned long long)value;
    String digits(std::to_string(magnitude));
    if (spec.precision >= 0 && (int)digits.size() < spec.precision) {
        digits.insert(0, (size_t)spec.precision - digits.size(), '0');
    }
    return pad(withSign(digits, value < 0, spec), spec, spec.precision < 0);
}

String formatReal(double value, const Spec& spec) {
    if (!std::isfinite(value)) {
        return pad(std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf"), spec, false);
    }
    int precision = spec.precision < 0 ? 6 : std::min(spec.precision, 60);
    char buf[512];
    auto result = std::to_chars(buf, buf + sizeof(buf), std::fabs(value), std::chars_format::fixed, precision);
    String digits = result.ec == std::errc() ? String(buf, (size_t)(result.ptr - buf)) : String("0");
    return pad(withSign(digits, std::signbit(value) && value != 0, spec), spec, true);
}

} // namespace

String formatArgs(const String& format, std::initializer_list<FormatArg> args) {
    std::vector<const FormatArg*> list;
    for (const FormatArg& a : args) {
        list.push_back(&a);
    }
    String out;
    size_t next = 0;
    size_t i = 0;
    while (i < format.size()) {
        char c = format[i];
        if (c != '%') {
            out.push_back(c);
            ++i;
            continue;
        }
        size_t start = i++;
        Spec spec;
        for (; i < format.size(); ++i) {
            char f = format[i];
            if (f == '-') {
                spec.leftAlign = true;
            } else if (f == '0') {
                spec.zeroPad = true;
            } else if (f == '+') {
                spec.plusSign = true;
            } else if (f == ' ') {
                spec.spaceSign = true;
            } else {
                break;
            }
        }
        while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
            spec.width = std::min(spec.width * 10 + (format[i++] - '0'), 1000);
        }
        if (i < format.size() && format[i] == '.') {
            ++i;
            spec.precision = 0;
            while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
                spec.precision = std::min(spec.precision * 10 + (format[i++] - '0'), 1000);
            }
        }
        // Length modifiers such as "l" or "ll" carry no meaning here.
        while (i < format.size() && (format[i] == 'l' || format[i] == 'h')) {
            ++i;
        }
        if (i >= format.size()) {
            out.append(format, start, String::npos);
            break;
        }
        char conversion = format[i++];
        const FormatArg* arg = next < list.size() ? list[next] : nullptr;
        switch (conversion) {
        case '%':
            out.push_back('%');
            break;
        case 's': {
            ++next;
            String text = arg ? arg->asText() : String();
            if (spec.precision >= 0 && (int)text.size() > spec.precision) {
                text.resize((size_t)spec.precision);
            }
            out += pad(text, spec, false);
            break;
        }
        case 'd':
        case 'i':
        case 'u':
            ++next;
            out += arg ? formatInteger(arg->asInteger(), spec) : String();
            break;
        case 'f':
        case 'F':
            ++next;
            out += arg ? formatReal(arg->asReal(), spec) : String();
            break;
        default:
            // Not a conversion we know: keep the text as it stands.
            out.append(format, start, i - start);
            break;
        }
    }
    return out;
}

} // namespace vessot
