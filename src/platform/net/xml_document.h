#pragma once

// The XML document object: a script's reply loaded from a URL and walked by
// its elements. Loading is always synchronous (it returns once the reply is
// complete and parsed) and never validates against a document type.
//
// What the object decided, decided here:
// - A node's children are in document order; text that is only white space
//   between elements is not a child. Elements are named by their tag, other
//   nodes "#text", "#cdata-section", "#comment", or a processing
//   instruction's target.
// - A node's text is the text of all it holds, joined, without the white
//   space at its start and end.
// - Texts are UTF-8, whatever encoding the reply declared.

#include <QDomDocument>
#include <QDomNode>

#include <string>
#include <string_view>
#include <vector>

namespace net {

// One node of a loaded document. A node that is not set (the root of a
// document that did not load) fails with "Object variable not set" when used.
class XmlNode {
public:
    XmlNode() = default;
    explicit XmlNode(QDomNode node) : node_(std::move(node)) {}

    bool IsNull() const { return node_.isNull(); }
    std::string NodeName() const;
    std::string Text() const;
    std::vector<XmlNode> ChildNodes() const;

private:
    void CheckSet() const;
    QDomNode node_;
};

class DOMDocument {
public:
    // Fetches `url` (http_get.h; a reply may take up to 60 seconds and 16 MiB)
    // and parses it. False when the transfer failed, the reply is not
    // well-formed XML, or it nests elements deeper than 32 levels or holds
    // more than 200,000 of them; the document is then empty. External
    // entities are never fetched.
    bool Load(const std::string& url);
    // Parses a reply already in hand, with the same limits.
    bool LoadXml(std::string_view text);

    // The root element; not set when nothing is loaded.
    XmlNode DocumentElement() const;

private:
    QDomDocument document_;
};

}  // namespace net
