#pragma once
// Reading XML documents into a tree of our own nodes. Errors name the file, the line and the element.

#include "vessot/Exception.h"
#include "vessot/String.h"

#include <memory>
#include <utility>
#include <vector>

namespace vessxml {

using vessot::String;

class _XMLException : public vessot::exception {
public:
    _XMLException(const String& message, String file = "", int line = 0, String type = "XMLException")
        : vessot::exception(message, std::move(file), line, std::move(type)) {}
};

constexpr int MAX_DEPTH = 256;

class Node {
public:
    using Attribute = std::pair<String, String>;

    const String& getName() const { return name; }
    bool operator==(const char* elementName) const { return name == elementName; }
    bool operator==(const String& elementName) const { return name == elementName; }
    bool operator!=(const char* elementName) const { return name != elementName; }

    // Child elements in document order.
    const std::vector<Node*>& children() const { return childList; }
    // Attributes in document order.
    const std::vector<Attribute>& attributes() const { return attributeList; }
    Node* getParent() const { return parent; }
    // The element's own text (character data directly inside it).
    const String& getText() const { return text; }
    int getLine() const { return line; }
    const String& getFile() const { return file; }
    // "'name' (file:line)", the way errors name an element.
    String describe() const;

    bool pexists(const String& attribute) const;
    // Required attributes throw _XMLException when missing or not readable as the type.
    String pstr(const String& attribute) const;
    String pstr(const String& attribute, const String& defaultValue) const;
    int pint(const String& attribute) const;
    int pint(const String& attribute, int defaultValue) const;
    float pfloat(const String& attribute) const;
    float pfloat(const String& attribute, float defaultValue) const;
    // "1", "0", "true" and "false".
    bool pbool(const String& attribute) const;
    bool pbool(const String& attribute, bool defaultValue) const;

    // Throws _XMLException naming this element.
    [[noreturn]] void fail(const String& message) const;

private:
    friend class Document;
    const String* find(const String& attribute) const;

    String name;
    String text;
    String file;
    int line = 0;
    Node* parent = nullptr;
    std::vector<Attribute> attributeList;
    std::vector<Node*> childList;
};

// A parsed document; frees its nodes when it goes out of scope.
class Document {
public:
    Document() = default;
    Document(Document&&) noexcept = default;
    Document& operator=(Document&&) noexcept = default;

    Node* getRoot() const { return root; }
    Node* operator->() const { return root; }
    bool isOpen() const { return root != nullptr; }
    void release();

    // Parses text; name is what errors call the document. Elements nested deeper than MAX_DEPTH
    // levels (the root is level 1) are refused, naming the line of the first one too deep.
    static Document parse(const String& text, const String& name);

private:
    std::vector<std::unique_ptr<Node>> nodes;
    Node* root = nullptr;
};

// Reads a game resource; a missing file throws vessot::_file_not_found, malformed XML _XMLException.
Document open(const String& path);
// Frees the document early.
void close(Document& document);

} // namespace vessxml
