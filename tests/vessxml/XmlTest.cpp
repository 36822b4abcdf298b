#include "vessxml/Xml.h"
#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

using vessxml::Document;
using vessxml::Node;

TEST(Xml, ChildrenAndAttributesInDocumentOrder) {
    Document doc = Document::parse("<Scene name='Bridge' zorder='ignore' a='1'>\n"
                                   "  <Object type='ImageBox' name='door'/>\n"
                                   "  text\n"
                                   "  <Action type='SwitchScene'><Inner/></Action>\n"
                                   "</Scene>",
                                   "test.scene");
    Node* root = doc.getRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(*root == "Scene");
    ASSERT_EQ(root->attributes().size(), 3u);
    EXPECT_EQ(root->attributes()[0].first, "name");
    EXPECT_EQ(root->attributes()[1].first, "zorder");
    EXPECT_EQ(root->attributes()[2].first, "a");
    ASSERT_EQ(root->children().size(), 2u);
    EXPECT_EQ(root->children()[0]->getName(), "Object");
    EXPECT_EQ(root->children()[1]->getName(), "Action");
    EXPECT_EQ(root->children()[1]->children()[0]->getParent(), root->children()[1]);
    EXPECT_EQ(root->children()[1]->getLine(), 4);
}

TEST(Xml, TypedAttributeReads) {
    Document doc =
        Document::parse("<E s='txt' i='-12' f='2.5' b1='true' b0='0' bad='x1' nan='nan' inf='-inf'/>", "t.xml");
    Node* e = doc.getRoot();
    EXPECT_EQ(e->pstr("s"), "txt");
    EXPECT_EQ(e->pstr("missing", "def"), "def");
    EXPECT_EQ(e->pint("i"), -12);
    EXPECT_EQ(e->pint("missing", 7), 7);
    EXPECT_FLOAT_EQ(e->pfloat("f"), 2.5f);
    EXPECT_FLOAT_EQ(e->pfloat("missing", 3.0f), 3.0f);
    EXPECT_TRUE(e->pbool("b1", false));
    EXPECT_FALSE(e->pbool("b0", true));
    EXPECT_TRUE(e->pbool("missing", true));
    EXPECT_TRUE(e->pexists("bad"));
    EXPECT_FALSE(e->pexists("nope"));
    EXPECT_THROW(e->pint("bad"), vessxml::_XMLException);
    EXPECT_THROW(e->pfloat("s"), vessxml::_XMLException);
    EXPECT_THROW(e->pfloat("nan"), vessxml::_XMLException);
    EXPECT_THROW(e->pfloat("inf"), vessxml::_XMLException);
    EXPECT_THROW(e->pbool("i"), vessxml::_XMLException);
}

TEST(Xml, ErrorsNameFileLineAndElement) {
    Document doc = Document::parse("<Vars>\n\n  <Var value='1'/>\n</Vars>", "data/vars.xml");
    try {
        doc.getRoot()->children()[0]->pstr("name");
        FAIL();
    } catch (const vessxml::_XMLException& e) {
        EXPECT_EQ(e.message(), "data/vars.xml:3: element 'Var': missing attribute 'name'");
        EXPECT_EQ(e.line(), 3);
    }
    try {
        Document::parse("<Vars>\n<Var name='a'>\n</Vars>", "broken.xml");
        FAIL();
    } catch (const vessxml::_XMLException& e) {
        EXPECT_NE(e.message().find("broken.xml:3"), std::string::npos) << e.message();
        EXPECT_TRUE(dynamic_cast<const vessot::exception*>(&e) != nullptr);
    }
}

// Every reader walks the tree recursively, so the depth is bounded where the tree is built.
TEST(Xml, NestingDeeperThanTheLimitIsRefusedNamingTheLine) {
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i) {
            text += "<E>\n";
        }
        for (int i = 0; i < depth; ++i) {
            text += "</E>";
        }
        return text;
    };
    EXPECT_NO_THROW(Document::parse(nested(vessxml::MAX_DEPTH), "deep.scene"));
    for (int depth : {vessxml::MAX_DEPTH + 1, 30000}) {
        try {
            Document::parse(nested(depth), "deep.scene");
            FAIL() << depth;
        } catch (const vessxml::_XMLException& e) {
            EXPECT_EQ(e.message(), "deep.scene:257: element 'E' is nested deeper than 256 levels");
            EXPECT_EQ(e.line(), 257);
        }
    }
}

TEST(Xml, OpenReadsAResourceAndMissingFilesThrow) {
    TempDir dir;
    { std::ofstream(dir / "a.xml") << "<Root><Child/></Root>"; }
    Document doc = vessxml::open(dir / "a.xml");
    EXPECT_EQ(doc->children().size(), 1u);
    vessxml::close(doc);
    EXPECT_FALSE(doc.isOpen());
    EXPECT_THROW(vessxml::open(dir / "none.xml"), vessot::_file_not_found);
}

TEST(Xml, DocumentIsReleasedWhenAnExceptionPasses) {
    // The sanitizer's leak check fails this test if the nodes outlive the scope.
    auto readAndFail = [] {
        Document doc = Document::parse("<R><A/><B/><C/></R>", "r.xml");
        doc->children()[1]->pint("n");
    };
    EXPECT_THROW(readAndFail(), vessxml::_XMLException);
}
