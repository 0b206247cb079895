#include "platform/net/xml_document.h"

#include "platform/failure.h"
#include "platform/net/http_get.h"

#include <QByteArray>

namespace net {

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
    const QByteArray bytes(reinterpret_cast<const char*>(reply.data()), static_cast<qsizetype>(reply.size()));
    if (document_.setContent(bytes)) return true;
    document_.clear();
    return false;
}

XmlNode DOMDocument::DocumentElement() const { return XmlNode(document_.documentElement()); }

}  // namespace net
