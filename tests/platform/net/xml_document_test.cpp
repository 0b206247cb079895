#include "platform/net/xml_document.h"

#include "platform/failure.h"
#include "support/cpu_seconds.h"
#include "support/fake_web_server.h"

#include <gtest/gtest.h>

#include <QTemporaryFile>

#include <string>
#include <utility>
#include <vector>

namespace {

class XmlDocument : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(server_.Start(), 0); }
    FakeWebServer server_;
};

std::vector<std::pair<std::string, std::string>> NamesAndTexts(const net::XmlNode& node) {
    std::vector<std::pair<std::string, std::string>> children;
    for (const net::XmlNode& child : node.ChildNodes()) children.emplace_back(child.NodeName(), child.Text());
    return children;
}

TEST_F(XmlDocument, LoadsTheRootAndItsChildrenInDocumentOrder) {
    server_.ServeFixed("/script/getmess.php3",
                       "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                       "<MESSAGES>\n"
                       "  <CLE>12</CLE>\n"
                       "  <NOM> Caf\xe9 &amp; co </NOM>\n"
                       "  <!-- a note -->\n"
                       "  <MESSAGE>first <B>bold</B> line\nsecond</MESSAGE>\n"
                       "  <CLE>13</CLE>\n"
                       "</MESSAGES>\n");
    net::DOMDocument document;
    ASSERT_TRUE(document.Load(server_.Url("/script/getmess.php3?LESOFT=1&LETYP=0")));
    const net::XmlNode root = document.DocumentElement();
    EXPECT_EQ(root.NodeName(), "MESSAGES");
    EXPECT_EQ(NamesAndTexts(root), (std::vector<std::pair<std::string, std::string>>{
                                       {"CLE", "12"},
                                       {"NOM", "Caf\xc3\xa9 & co"},
                                       {"#comment", "a note"},
                                       {"MESSAGE", "first bold line\nsecond"},
                                       {"CLE", "13"},
                                   }));
    server_.ServeFixed("/script/set_server.php3", "<SERVER>  4711 </SERVER>");
    ASSERT_TRUE(document.Load(server_.Url("/script/set_server.php3")));
    EXPECT_EQ(document.DocumentElement().Text(), "4711");
    EXPECT_TRUE(document.DocumentElement().ChildNodes().size() == 1);
}

TEST_F(XmlDocument, AReplyThatIsNotWellFormedXmlDoesNotLoad) {
    server_.ServeFixed("/good", "<A><B>1</B></A>");
    server_.ServeFixed("/unclosed", "<A><B>1</B>");
    server_.ServeFixed("/html", "<html><body>Warning: mysql_connect()<br></body></html>");
    server_.ServeFixed("/empty", "");
    server_.ServeFixed("/error", "<A>still XML</A>", 500);
    for (const std::string path : {"/unclosed", "/html", "/empty", "/error", "/nowhere"}) {
        SCOPED_TRACE(path);
        net::DOMDocument document;
        ASSERT_TRUE(document.Load(server_.Url("/good")));
        EXPECT_FALSE(document.Load(server_.Url(path)));
        const net::XmlNode root = document.DocumentElement();
        EXPECT_TRUE(root.IsNull());
        EXPECT_THROW(root.NodeName(), Failure);
    }
}

std::string Nested(int levels, bool closed) {
    std::string xml;
    for (int i = 0; i < levels; ++i) xml += "<a>";
    if (closed)
        for (int i = 0; i < levels; ++i) xml += "</a>";
    return xml;
}

std::string Siblings(int count) {
    std::string xml = "<a>";
    for (int i = 1; i < count; ++i) xml += "<b/>";
    return xml + "</a>";
}

// Replies from servers we do not run: each is refused, or loads without what
// it should not bring, in bounded time.
TEST_F(XmlDocument, HostileRepliesAreRefusedInBoundedTime) {
    QTemporaryFile secret;
    ASSERT_TRUE(secret.open());
    secret.write("secret");
    secret.flush();
    std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY l0 \"ha\">";
    for (int i = 1; i < 10; ++i)
        laughs += "<!ENTITY l" + std::to_string(i) + " \"" + [&] {
            std::string ten;
            for (int j = 0; j < 10; ++j) ten += "&l" + std::to_string(i - 1) + ";";
            return ten;
        }() + "\">";
    laughs += "]><l>&l9;</l>";
    const std::string external = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY s SYSTEM \"file://" +
                                 secret.fileName().toStdString() + "\">]><r>&s;</r>";
    const struct {
        const char* what;
        std::string reply;
        bool loads;
    } cases[] = {
        {"32 levels", Nested(32, true), true},
        {"33 levels", Nested(33, true), false},
        {"100,000 levels", Nested(100000, true), false},
        {"200,000 unclosed levels", Nested(200000, false), false},
        {"200,001 elements", Siblings(200001), false},
        {"entities expanding to a billion", laughs, false},
        {"an external entity, never fetched", external, true},
    };
    for (const auto& [what, reply, loads] : cases) {
        SCOPED_TRACE(what);
        server_.ServeFixed("/reply", reply);
        net::DOMDocument document;
        const double start = ThreadCpuSeconds();
        const bool loaded = document.Load(server_.Url("/reply"));
        EXPECT_LT(ThreadCpuSeconds() - start, 3);
        EXPECT_EQ(loaded, loads);
        if (loaded) {
            EXPECT_EQ(document.DocumentElement().Text().find("secret"), std::string::npos);
        }
    }
}

}  // namespace
