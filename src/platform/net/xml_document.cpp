#include "platform/net/xml_document.h"

#include "platform/failure.h"
#include "platform/net/http_get.h"

#include <QByteArray>
#include <QXmlStreamReader>

namespace net {
namespace {

// Building the tree takes more than linear time in the nesting, and memory
// for every element: a reply is refused before that when it goes past these.
constexpr int kMaxDepth = 32;
constexpr int kMaxElements = 200000;

// One streaming pass, in time linear in the reply: false when it is not
// well-formed or goes past the limits.
bool WithinLimits(const QByteArray& bytes) {
    QXmlStreamReader reader(bytes);
    int depth = 0;
    int elements = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (++depth > kMaxDepth || ++elements > kMaxElements) return false;
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return !reader.hasError();
}

}  // namespace

void XmlNode::CheckSet() const {
    if (node_.isNull()) throw Failure(failure_number::ObjectNotSet, "Object variable not set");
}

std::string XmlNode::NodeName() const {
    CheckSet();
    return node_.nodeName().toStdString();
}

std::string XmlNode::Text() const {
    CheckSet();
    const QString text = node_.isElement() ? node_.toElement().text() : node_.nodeValue();
    return text.trimmed().toStdString();
}

std::vector<XmlNode> XmlNode::ChildNodes() const {
    CheckSet();
    std::vector<XmlNode> children;
    for (QDomNode child = node_.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (child.isText() && !child.isCDATASection() && child.nodeValue().trimmed().isEmpty()) continue;
        children.emplace_back(child);
    }
    return children;
}

bool DOMDocument::Load(const std::string& url) {
    document_.clear();
    std::vector<uint8_t> reply;
    try {
        reply = OpenURL(url, {.totalTimeout = std::chrono::seconds(60), .maxBytes = 16u << 20});
    } catch (const Failure&) {
        return false;
    }
    return LoadXml(std::string_view(reinterpret_cast<const char*>(reply.data()), reply.size()));
}

bool DOMDocument::LoadXml(std::string_view text) {
    document_.clear();
    const QByteArray bytes = QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size()));
    if (WithinLimits(bytes) && document_.setContent(bytes)) return true;
    document_.clear();
    return false;
}

XmlNode DOMDocument::DocumentElement() const { return XmlNode(document_.documentElement()); }

}  // namespace net
