#include "vessxml/Xml.h"

#include "vessot/File.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <pugixml.hpp>

namespace vessxml {

namespace {

// Line numbers from byte offsets: the offsets of every line start, searched by binary search.
class LineIndex {
public:
    explicit LineIndex(const String& text) {
        starts.push_back(0);
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                starts.push_back((ptrdiff_t)i + 1);
            }
        }
    }
    int lineOf(ptrdiff_t offset) const {
        auto it = std::upper_bound(starts.begin(), starts.end(), offset);
        return (int)(it - starts.begin());
    }

private:
    std::vector<ptrdiff_t> starts;
};

} // namespace

String Node::describe() const {
    return "'" + name + "' (" + file + ":" + String(line) + ")";
}

void Node::fail(const String& message) const {
    throw _XMLException(file + ":" + String(line) + ": element '" + name + "': " + message, file, line);
}

const String* Node::find(const String& attribute) const {
    for (const Attribute& a : attributeList) {
        if (a.first == attribute) {
            return &a.second;
        }
    }
    return nullptr;
}

bool Node::pexists(const String& attribute) const {
    return find(attribute) != nullptr;
}

String Node::pstr(const String& attribute) const {
    const String* value = find(attribute);
    if (!value) {
        fail("missing attribute '" + attribute + "'");
    }
    return *value;
}

String Node::pstr(const String& attribute, const String& defaultValue) const {
    const String* value = find(attribute);
    return value ? *value : defaultValue;
}

namespace {

bool readInt(const String& text, int& out) {
    String t = text.trimmed();
    const char* p = t.data();
    const char* end = p + t.size();
    if (p < end && *p == '+') {
        ++p;
    }
    auto result = std::from_chars(p, end, out);
    return result.ec == std::errc() && result.ptr == end && p != end;
}

bool readFloat(const String& text, float& out) {
    String t = text.trimmed();
    const char* p = t.data();
    const char* end = p + t.size();
    if (p < end && *p == '+') {
        ++p;
    }
    auto result = std::from_chars(p, end, out);
    return result.ec == std::errc() && result.ptr == end && p != end && std::isfinite(out);
}

bool readBool(const String& text, bool& out) {
    String t = text.trimmed().lowered();
    if (t == "1" || t == "true") {
        out = true;
        return true;
    }
    if (t == "0" || t == "false") {
        out = false;
        return true;
    }
    return false;
}

} // namespace

int Node::pint(const String& attribute) const {
    int value = 0;
    if (!readInt(pstr(attribute), value)) {
        fail("attribute '" + attribute + "' is not an integer: '" + pstr(attribute) + "'");
    }
    return value;
}

int Node::pint(const String& attribute, int defaultValue) const {
    return pexists(attribute) ? pint(attribute) : defaultValue;
}

float Node::pfloat(const String& attribute) const {
    float value = 0;
    if (!readFloat(pstr(attribute), value)) {
        fail("attribute '" + attribute + "' is not a number: '" + pstr(attribute) + "'");
    }
    return value;
}

float Node::pfloat(const String& attribute, float defaultValue) const {
    return pexists(attribute) ? pfloat(attribute) : defaultValue;
}

bool Node::pbool(const String& attribute) const {
    bool value = false;
    if (!readBool(pstr(attribute), value)) {
        fail("attribute '" + attribute + "' is not a boolean: '" + pstr(attribute) + "'");
    }
    return value;
}

bool Node::pbool(const String& attribute, bool defaultValue) const {
    return pexists(attribute) ? pbool(attribute) : defaultValue;
}

void Document::release() {
    nodes.clear();
    root = nullptr;
}

Document Document::parse(const String& text, const String& name) {
    pugi::xml_document doc;
    pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    LineIndex lines(text);
    if (!result) {
        int line = lines.lineOf(result.offset);
        throw _XMLException(name + ":" + String(line) + ": malformed XML: " + result.description(), name, line);
    }
    Document out;
    pugi::xml_node top = doc.document_element();
    if (!top) {
        throw _XMLException(name + ": the document has no root element", name, 0);
    }
    // Iterative copy of the element tree, keeping document order.
    std::vector<std::pair<pugi::xml_node, Node*>> stack;
    auto make = [&](pugi::xml_node source, Node* parent) {
        auto node = std::make_unique<Node>();
        node->name = source.name();
        node->file = name;
        node->line = lines.lineOf(source.offset_debug());
        node->parent = parent;
        for (pugi::xml_attribute a : source.attributes()) {
            node->attributeList.emplace_back(String(a.name()), String(a.value()));
        }
        for (pugi::xml_node c : source.children()) {
            if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
                node->text += c.value();
            }
        }
        Node* raw = node.get();
        out.nodes.push_back(std::move(node));
        if (parent) {
            parent->childList.push_back(raw);
        }
        return raw;
    };
    out.root = make(top, nullptr);
    stack.emplace_back(top, out.root);
    std::vector<int> depths{1};
    while (!stack.empty()) {
        auto [source, node] = stack.back();
        stack.pop_back();
        int depth = depths.back();
        depths.pop_back();
        if (depth > MAX_DEPTH) {
            // The readers of every format walk the tree recursively.
            throw _XMLException(name + ":" + String(node->line) + ": element '" + node->name +
                                    "' is nested deeper than " + String(MAX_DEPTH) + " levels",
                                name, node->line);
        }
        std::vector<pugi::xml_node> elements;
        for (pugi::xml_node c : source.children()) {
            if (c.type() == pugi::node_element) {
                elements.push_back(c);
            }
        }
        std::vector<std::pair<pugi::xml_node, Node*>> made;
        for (pugi::xml_node c : elements) {
            made.emplace_back(c, make(c, node));
        }
        for (auto it = made.rbegin(); it != made.rend(); ++it) {
            stack.push_back(*it);
            depths.push_back(depth + 1);
        }
    }
    return out;
}

Document open(const String& path) {
    return Document::parse(vessot::Resource::hread(path), path);
}

void close(Document& document) {
    document.release();
}

} // namespace vessxml
