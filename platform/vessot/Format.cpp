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

struct Field {
    bool leftAlign = false;
    bool zeroPad = false;
    bool plusSign = false;
    bool spaceSign = false;
    int width = 0;
    int precision = -1;
};

String pad(String body, const Field& field, bool numeric) {
    if ((int)body.size() >= field.width) {
        return body;
    }
    size_t fill = (size_t)field.width - body.size();
    if (field.leftAlign) {
        return body + String(std::string(fill, ' '));
    }
    if (field.zeroPad && numeric) {
        size_t signLength = (!body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' ')) ? 1 : 0;
        body.insert(signLength, fill, '0');
        return body;
    }
    return String(std::string(fill, ' ')) + body;
}

String withSign(String digits, bool negative, const Field& field) {
    if (negative) {
        return "-" + digits;
    }
    if (field.plusSign) {
        return "+" + digits;
    }
    if (field.spaceSign) {
        return " " + digits;
    }
    return digits;
}

String formatInteger(long long value, const Field& field) {
    unsigned long long magnitude = value < 0 ? 0ull - (unsigned long long)value : (unsigned long long)value;
    String digits(std::to_string(magnitude));
    if (field.precision >= 0 && (int)digits.size() < field.precision) {
        digits.insert(0, (size_t)field.precision - digits.size(), '0');
    }
    return pad(withSign(digits, value < 0, field), field, field.precision < 0);
}

String formatReal(double value, const Field& field) {
    if (!std::isfinite(value)) {
        return pad(std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf"), field, false);
    }
    int precision = field.precision < 0 ? 6 : std::min(field.precision, 60);
    char buf[512];
    auto result = std::to_chars(buf, buf + sizeof(buf), std::fabs(value), std::chars_format::fixed, precision);
    String digits = result.ec == std::errc() ? String(buf, (size_t)(result.ptr - buf)) : String("0");
    return pad(withSign(digits, std::signbit(value) && value != 0, field), field, true);
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
        Field field;
        for (; i < format.size(); ++i) {
            char f = format[i];
            if (f == '-') {
                field.leftAlign = true;
            } else if (f == '0') {
                field.zeroPad = true;
            } else if (f == '+') {
                field.plusSign = true;
            } else if (f == ' ') {
                field.spaceSign = true;
            } else {
                break;
            }
        }
        while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
            field.width = std::min(field.width * 10 + (format[i++] - '0'), 1000);
        }
        if (i < format.size() && format[i] == '.') {
            ++i;
            field.precision = 0;
            while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
                field.precision = std::min(field.precision * 10 + (format[i++] - '0'), 1000);
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
            if (field.precision >= 0 && (int)text.size() > field.precision) {
                text.resize((size_t)field.precision);
            }
            out += pad(text, field, false);
            break;
        }
        case 'd':
        case 'i':
        case 'u':
            ++next;
            out += arg ? formatInteger(arg->asInteger(), field) : String();
            break;
        case 'f':
        case 'F':
            ++next;
            out += arg ? formatReal(arg->asReal(), field) : String();
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
