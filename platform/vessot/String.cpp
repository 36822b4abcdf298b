#include "vessot/String.h"

#include "vessot/Array.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

namespace vessot {

String::String(int value) : std::string(std::to_string(value)) {}
String::String(unsigned value) : std::string(std::to_string(value)) {}
String::String(long value) : std::string(std::to_string(value)) {}
String::String(unsigned long value) : std::string(std::to_string(value)) {}
String::String(long long value) : std::string(std::to_string(value)) {}
String::String(float value) : std::string(fromFloat(value)) {}
String::String(double value) : std::string(fromDouble(value)) {}

namespace {

const char* skipSpace(const char* p, const char* end) {
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v')) {
        ++p;
    }
    return p;
}

// The leading number as atof reads it, except that text that is not a finite number ("nan",
// "inf") or not one the type holds reads 0.
template <class F> F leadingFloat(const std::string& s) {
    const char* p = skipSpace(s.data(), s.data() + s.size());
    const char* end = s.data() + s.size();
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // from_chars would accept a second sign; atof does not.
    if (p < end && (*p == '+' || *p == '-')) {
        return 0;
    }
    F value = 0;
    auto result = std::from_chars(p, end, value, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        return 0;
    }
    return negative ? -value : value;
}

template <class F> String shortestFixed(F value) {
    if (value == 0 || !std::isfinite(value)) {
        return "0";
    }
    char buf[512];
    auto result = std::to_chars(buf, buf + sizeof(buf), value, std::chars_format::fixed);
    if (result.ec != std::errc()) {
        return "0";
    }
    return String(buf, (size_t)(result.ptr - buf));
}

} // namespace

int String::toInt() const {
    const char* end = data() + size();
    const char* p = skipSpace(data(), end);
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // Capped just past int's range (INT_MIN's magnitude is INT_MAX + 1), so no length overflows.
    long long value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        value = std::min(value * 10 + (*p - '0'), (long long)INT_MAX + 2);
    }
    value = negative ? -value : value;
    return value < INT_MIN || value > INT_MAX ? 0 : (int)value;
}

float String::toFloat() const {
    return leadingFloat<float>(*this);
}
double String::toDouble() const {
    return leadingFloat<double>(*this);
}

bool String::toBool() const {
    if (empty() || *this == "0") {
        return false;
    }
    return lowered() != "false";
}

bool String::isNumber() const {
    if (empty()) {
        return false;
    }
    const char* p = data();
    const char* end = p + size();
    if (*p == '+' || *p == '-') {
        ++p;
    }
    double v;
    auto result = std::from_chars(p, end, v, std::chars_format::fixed);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(v) &&
           std::fabs(v) <= std::numeric_limits<float>::max();
}

bool String::isHex() const {
    if (empty()) {
        return false;
    }
    return std::all_of(begin(), end(), [](char c) { return std::isxdigit((unsigned char)c) != 0; });
}

unsigned int String::hexToUInt() const {
    unsigned int value = 0;
    std::from_chars(data(), data() + size(), value, 16);
    return value;
}

Array<String> String::split(const String& delimiter, int max, bool removeEmpty) const {
    Array<String> parts;
    if (delimiter.empty()) {
        parts.add(*this);
        return parts;
    }
    size_t start = 0;
    int splits = 0;
    while (max < 0 || splits < max) {
        size_t pos = find(delimiter, start);
        if (pos == npos) {
            break;
        }
        String piece = substr(start, pos - start);
        if (!(removeEmpty && piece.empty())) {
            parts.add(piece);
        }
        start = pos + delimiter.size();
        ++splits;
    }
    String rest = substr(start);
    if (!(removeEmpty && rest.empty())) {
        parts.add(rest);
    }
    return parts;
}

Array<String> String::rsplit(const String& delimiter, int max, bool removeEmpty) const {
    Array<String> parts;
    if (delimiter.empty()) {
        parts.add(*this);
        return parts;
    }
    size_t end = size();
    int splits = 0;
    while (max < 0 || splits < max) {
        if (end < delimiter.size()) {
            break;
        }
        size_t pos = rfind(delimiter, end - delimiter.size());
        if (pos == npos) {
            break;
        }
        String piece = substr(pos + delimiter.size(), end - pos - delimiter.size());
        if (!(removeEmpty && piece.empty())) {
            parts.insertAt(0, piece);
        }
        end = pos;
        ++splits;
    }
    String rest = substr(0, end);
    if (!(removeEmpty && rest.empty())) {
        parts.insertAt(0, rest);
    }
    return parts;
}

bool String::split(const String& delimiter, String& left, String& right) const {
    size_t pos = find(delimiter);
    if (pos == npos) {
        return false;
    }
    left = substr(0, pos);
    right = substr(pos + delimiter.size());
    return true;
}

String String::replaced(const String& what, const String& with) const {
    if (what.empty()) {
        return *this;
    }
    String result;
    size_t start = 0;
    for (size_t pos = find(what); pos != npos; pos = find(what, start)) {
        result.append(*this, start, pos - start);
        result += with;
        start = pos + what.size();
    }
    result.append(*this, start);
    return result;
}

String String::lowered() const {
    String result = *this;
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = (char)(c - 'A' + 'a');
        }
    }
    return result;
}

String String::uppered() const {
    String result = *this;
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = (char)(c - 'a' + 'A');
        }
    }
    return result;
}

String String::trimmed(const String& chars) const {
    size_t first = find_first_not_of(chars);
    if (first == npos) {
        return "";
    }
    size_t last = find_last_not_of(chars);
    return substr(first, last - first + 1);
}

String String::substr(size_t start, size_t count) const {
    if (start >= size()) {
        return "";
    }
    return String(std::string::substr(start, count));
}

int String::indexOf(const String& part, int from) const {
    if (from < 0) {
        from = 0;
    }
    size_t pos = find(part, (size_t)from);
    return pos == npos ? -1 : (int)pos;
}

int String::utf8_size() const {
    int count = 0;
    for (unsigned char c : *this) {
        if ((c & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

String String::utf8_left(int count) const {
    for (size_t at = 0; at < size(); ++at) {
        if (((unsigned char)(*this)[at] & 0xC0) != 0x80 && count-- == 0) {
            return substr(0, at);
        }
    }
    return *this;
}

String String::fromFloat(float value) {
    return shortestFixed(value);
}
String String::fromDouble(double value) {
    return shortestFixed(value);
}

String String::hex(unsigned int value, int digits) {
    char buf[16];
    auto result = std::to_chars(buf, buf + sizeof(buf), value, 16);
    String text(buf, (size_t)(result.ptr - buf));
    text = text.uppered();
    if ((int)text.size() < digits) {
        text.insert(0, (size_t)digits - text.size(), '0');
    }
    return text;
}

String operator+(const String& a, const String& b) {
    String r(a);
    r.append(b);
    return r;
}
String operator+(const String& a, const char* b) {
    String r(a);
    r.append(b ? b : "");
    return r;
}
String operator+(const String& a, const std::string& b) {
    String r(a);
    r.append(b);
    return r;
}
String operator+(const std::string& a, const String& b) {
    String r(a);
    r.append(b);
    return r;
}
String operator+(const char* a, const String& b) {
    String r(a);
    r.append(b);
    return r;
}
String operator+(const String& a, char b) {
    String r(a);
    r.push_back(b);
    return r;
}
String operator+(const String& a, int b) {
    return a + String(b);
}
String operator+(const String& a, unsigned b) {
    return a + String(b);
}
String operator+(const String& a, long b) {
    return a + String(b);
}
String operator+(const String& a, unsigned long b) {
    return a + String(b);
}
String operator+(const String& a, float b) {
    return a + String(b);
}
String operator+(const String& a, double b) {
    return a + String(b);
}

} // namespace vessot
