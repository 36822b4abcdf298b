#include "nimboui/TextKey.h"

#include "nimboui/Dataset.h"
#include "nimboui/nimboui.h"

namespace nimboui {

namespace {

using TextOf = std::function<String(const String&)>;

// The arguments after the format, read one at a time.
class Arguments {
public:
    Arguments(const String& key, size_t start) : key(key), pos(start) {}

    // The next argument's text: a literal as written, a key's text through textOf; "" when none
    // is left. The argument that fills the last conversion of all runs a literal to the final "}".
    String next(bool last, const TextOf& textOf) {
        while (pos < key.size() && key[pos] == ' ') {
            ++pos;
        }
        if (pos >= key.size()) {
            return "";
        }
        if (key[pos] == '{') {
            return literal(last);
        }
        size_t end = key.find(' ', pos);
        if (end == String::npos) {
            end = key.size();
        }
        String name = key.substr(pos, end - pos);
        pos = end;
        return textOf(name);
    }

private:
    String literal(bool last) {
        size_t start = pos + 1;
        size_t end = String::npos;
        if (last) {
            end = key.rfind('}');
        } else {
            for (size_t i = start; i < key.size(); ++i) {
                if (key[i] == '}' && (i + 1 == key.size() || key[i + 1] == ' ')) {
                    end = i;
                    break;
                }
            }
        }
        if (end == String::npos || end < start) {
            end = key.size();
        }
        pos = end + 1;
        return key.substr(start, end - start);
    }

    const String& key;
    size_t pos;
};

// The conversions ("%s", "%f") of a format from position from on.
int countConversions(const String& format, size_t from) {
    int count = 0;
    for (size_t i = from; i + 1 < format.size(); ++i) {
        if (format[i] == '%') {
            if (format[i + 1] == 's' || format[i + 1] == 'f') {
                ++count;
            }
            ++i;
        }
    }
    return count;
}

// Expands a format into out; pendingAfter counts the conversions that enclosing formats still
// hold, so that the last argument of all is known.
void expand(const String& format, Arguments& args, const TextOf& textOf, int pendingAfter, String& out) {
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%' || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        char kind = format[i + 1];
        if (kind == '%') {
            out += '%';
            ++i;
        } else if (kind == 's' || kind == 'f') {
            ++i;
            bool last = pendingAfter + countConversions(format, i + 1) == 0;
            if (kind == 's') {
                out += args.next(last, textOf);
            } else {
                int after = pendingAfter + countConversions(format, i + 1);
                expand(args.next(false, textOf), args, textOf, after, out);
            }
        } else {
            out += c;
        }
    }
}

} // namespace

String expandTextKey(const String& key, const std::function<String(const String&)>& textOf) {
    size_t close = key.find('}');
    if (!key.startsWith("{") || close == String::npos) {
        return textOf(key);
    }
    Arguments args(key, close + 1);
    String out;
    expand(key.substr(1, close - 1), args, textOf, 0, out);
    return out;
}

String expandTextKey(const String& key, Dataset* dataset) {
    return expandTextKey(key, [dataset](const String& name) -> String {
        if (dataset) {
            return dataset->getText(name);
        }
        String datasetName;
        String rest;
        if (name.split(".", datasetName, rest)) {
            if (Dataset* named = getDatasetByName(datasetName)) {
                return named->getText(rest);
            }
        }
        return name;
    });
}

} // namespace nimboui
