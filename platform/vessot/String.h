#pragma once
// The engine's text type: UTF-8 bytes in a std::string, with the conversions every layer shares.
// Conversions never depend on the C locale.

#include <cstdint>
#include <string>
#include <string_view>

namespace vessot {

template <class T> class Array;

class String : public std::string {
public:
    String() = default;
    String(const char* s) : std::string(s ? s : "") {}
    String(const char* s, size_t n) : std::string(s, n) {}
    String(const std::string& s) : std::string(s) {}
    String(std::string&& s) : std::string(std::move(s)) {}
    String(std::string_view s) : std::string(s) {}
    explicit String(int value);
    explicit String(unsigned value);
    explicit String(long value);
    explicit String(unsigned long value);
    explicit String(long long value);
    explicit String(float value);
    explicit String(double value);

    // Leading number as atoi/atof would read it; text that is not a number reads 0, and so does text
    // that is not a finite number ("nan", "inf") or a number the type cannot hold ("99999999999" as
    // an int, "1e40" as a float), so a conversion never gives a non-finite or clipped number.
    int toInt() const;
    float toFloat() const;
    double toDouble() const;
    // "", "0" and "false" (any case) are false; everything else is true.
    bool toBool() const;
    explicit operator bool() const { return toBool(); }

    // Pieces between delimiters; max >= 0 limits the number of splits (from the left for split,
    // from the right for rsplit). Empty pieces are kept unless removeEmpty is set.
    Array<String> split(const String& delimiter, int max = -1, bool removeEmpty = false) const;
    Array<String> rsplit(const String& delimiter, int max = -1, bool removeEmpty = false) const;
    // Splits once at the first delimiter; false when the delimiter does not occur.
    bool split(const String& delimiter, String& left, String& right) const;

    String replaced(const String& what, const String& with) const;
    String lowered() const;
    String uppered() const;
    String trimmed(const String& chars = " \t\r\n") const;
    bool startsWith(const String& prefix) const { return std::string_view(*this).starts_with(prefix); }
    bool endsWith(const String& suffix) const { return std::string_view(*this).ends_with(suffix); }
    bool contains(const String& part) const { return find(part) != npos; }
    String substr(size_t start, size_t count = npos) const;
    int indexOf(const String& part, int from = 0) const;
    // Number of UTF-8 code points.
    int utf8_size() const;
    // The first count code points (all of the text when it has no more).
    String utf8_left(int count) const;
    // Whether the text reads as a finite decimal number as a whole ("12", "-1.5"), not only its leading
    // part, within a float's range; "nan", "inf" and exponents are not numbers.
    bool isNumber() const;
    bool isHex() const;
    unsigned int hexToUInt() const;

    // Shortest plain decimal that reads back to the same value, never in exponent form; "0" for a value
    // that is not finite, so no text of one is ever written.
    static String fromFloat(float value);
    static String fromDouble(double value);
    static String hex(unsigned int value, int digits = 0);
};

String operator+(const String& a, const String& b);
String operator+(const String& a, const char* b);
String operator+(const String& a, const std::string& b);
String operator+(const std::string& a, const String& b);
String operator+(const char* a, const String& b);
String operator+(const String& a, char b);
String operator+(const String& a, int b);
String operator+(const String& a, unsigned b);
String operator+(const String& a, long b);
String operator+(const String& a, unsigned long b);
String operator+(const String& a, float b);
String operator+(const String& a, double b);

} // namespace vessot

template <> struct std::hash<vessot::String> {
    size_t operator()(const vessot::String& s) const noexcept { return std::hash<std::string>()(s); }
};
