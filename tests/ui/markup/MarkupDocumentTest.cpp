#include "ui/markup/MarkupDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using ui::MarkupDocument;
using ui::MarkupNode;

namespace {

// Parses and returns the root; the document stays alive in the fixture.
class MarkupDocumentTest : public ::testing::Test {
protected:
    MarkupNode Parse(const std::wstring& text)
    {
        EXPECT_TRUE(m_document.LoadFromString(text))
            << "error: " << Narrow(m_document.GetErrorMessage());
        return m_document.GetRoot();
    }
    std::wstring ErrorOf(const std::wstring& text)
    {
        EXPECT_FALSE(m_document.LoadFromString(text));
        EXPECT_FALSE(m_document.GetRoot().IsValid());
        return m_document.GetErrorMessage();
    }
    static std::string Narrow(const wchar_t* text)
    {
        return std::string(text, text + std::wcslen(text));
    }

    MarkupDocument m_document;
};

TEST_F(MarkupDocumentTest, BuildsTheElementTreeInDocumentOrder)
{
    const MarkupNode root = Parse(
        L"<?xml version=\"1.0\"?>\n<!-- skin -->\n"
        L"<Window size=\"1,2\">\n  <VBox><Label/><Button/></VBox>\n  <HBox/>\n</Window>\n");
    EXPECT_STREQ(root.GetName(), L"Window");
    EXPECT_FALSE(root.GetParent().IsValid());
    const MarkupNode vbox = root.GetChild();
    EXPECT_STREQ(vbox.GetName(), L"VBox");
    EXPECT_STREQ(vbox.GetChild().GetName(), L"Label");
    EXPECT_STREQ(vbox.GetChild().GetSibling().GetName(), L"Button");
    EXPECT_FALSE(vbox.GetChild().GetSibling().GetSibling().IsValid());
    EXPECT_STREQ(vbox.GetSibling().GetName(), L"HBox");
    EXPECT_STREQ(vbox.GetChild().GetParent().GetName(), L"VBox");
    EXPECT_STREQ(vbox.GetChild().GetParent().GetParent().GetName(), L"Window");
    EXPECT_FALSE(MarkupNode().GetChild().IsValid());
    EXPECT_STREQ(MarkupNode().GetName(), L"");
}

TEST_F(MarkupDocumentTest, EmptyElementFormsAreOneEmptyElement)
{
    for (const wchar_t* text :
         {L"<a><b/></a>", L"<a><b /></a>", L"<a><b x=\"1\"/></a>", L"<a><b x=\"1\" /></a>"}) {
        const MarkupNode b = Parse(text).GetChild();
        EXPECT_STREQ(b.GetName(), L"b") << Narrow(text);
        EXPECT_STREQ(b.GetValue(), L"");
        EXPECT_FALSE(b.GetChild().IsValid());
        EXPECT_FALSE(b.GetSibling().IsValid());
    }
    EXPECT_STREQ(Parse(L"<a><b x=\"1\"/></a>").GetChild().GetAttributeValue(L"x"), L"1");
}

TEST_F(MarkupDocumentTest, AttributesByPositionAndName)
{
    const MarkupNode node =
        Parse(L"<c  one = \"1\"\ttwo=\"\" one=\"again\" three=\"3\"  >text</c>");
    ASSERT_EQ(node.GetAttributeCount(), 4u);
    EXPECT_STREQ(node.GetAttributeName(0), L"one");
    EXPECT_STREQ(node.GetAttributeValue(1u), L"");
    EXPECT_STREQ(node.GetAttributeName(3), L"three");
    EXPECT_STREQ(node.GetAttributeValue(3u), L"3");
    EXPECT_STREQ(node.GetAttributeValue(L"one"), L"1"); // first match wins
    EXPECT_STREQ(node.GetAttributeValue(L"ONE"), L"");  // names are case-sensitive
    EXPECT_TRUE(node.HasAttribute(L"two"));
    EXPECT_FALSE(node.HasAttribute(L"four"));
    EXPECT_STREQ(node.GetAttributeName(4), L"");
    EXPECT_STREQ(node.GetValue(), L"text");
}

TEST_F(MarkupDocumentTest, EntitiesAndSingleQuotes)
{
    const MarkupNode node = Parse(
        L"<i image=\"file='a.png' corner='1,2,3,4'\" cmp=\"&lt;&gt;&amp;&quot;&apos;\" "
        L"raw=\"&nbsp;&#65;&amp\" after=\"ok\">a &lt;b&gt; c<x/></i>");
    EXPECT_STREQ(node.GetAttributeValue(L"image"), L"file='a.png' corner='1,2,3,4'");
    EXPECT_STREQ(node.GetAttributeValue(L"cmp"), L"<>&\"'");
    EXPECT_STREQ(node.GetAttributeValue(L"raw"), L"&nbsp;&#65;&amp");
    // Attributes behind a value that decoding made shorter are still found.
    EXPECT_STREQ(node.GetAttributeValue(L"after"), L"ok");
    EXPECT_EQ(node.GetAttributeCount(), 4u);
    // The decoded text ends where the decoding ended, also before a child.
    EXPECT_STREQ(node.GetValue(), L"a <b> c");
    EXPECT_STREQ(Parse(L"<i>&lt;&lt;&lt;</i>").GetValue(), L"<<<");
}

TEST_F(MarkupDocumentTest, WhitespaceAndNonAsciiTextStayAsWritten)
{
    const MarkupNode node = Parse(L"<t v=\"  two  spaces \t\">\n  lead and trail  \n</t>");
    EXPECT_STREQ(node.GetAttributeValue(L"v"), L"  two  spaces \t");
    EXPECT_STREQ(node.GetValue(), L"\n  lead and trail  \n");
    const std::wstring text = L"<t v=\"\u540d\u524d\U0001F600\">\u00e9</t>";
    const MarkupNode other = Parse(text);
    EXPECT_EQ(std::wstring(other.GetAttributeValue(L"v")), L"\u540d\u524d\U0001F600");
    EXPECT_STREQ(other.GetValue(), L"\u00e9");
}

TEST_F(MarkupDocumentTest, OnlyTheFirst64AttributesAreVisible)
{
    std::wstring text = L"<many";
    for (int i = 0; i < 65; ++i) {
        text += L" a" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    }
    const MarkupNode node = Parse(text + L"/>");
    EXPECT_EQ(node.GetAttributeCount(), 64u);
    EXPECT_STREQ(node.GetAttributeValue(L"a63"), L"63");
    EXPECT_FALSE(node.HasAttribute(L"a64"));
}

TEST_F(MarkupDocumentTest, LenientEndings)
{
    EXPECT_STREQ(Parse(L"<a>").GetName(), L"a");
    EXPECT_STREQ(Parse(L"<a>text").GetValue(), L"text");
    EXPECT_STREQ(Parse(L"<a><b>text").GetChild().GetName(), L"b");
    EXPECT_STREQ(Parse(L"<a><b/>").GetChild().GetName(), L"b");
    EXPECT_STREQ(Parse(L"<a/><b/>").GetSibling().GetName(), L"b");
    EXPECT_STREQ(Parse(L"<a></ a >").GetName(), L"a");
    EXPECT_FALSE(Parse(L"  \r\n ").IsValid()); // no element: no root
}

TEST_F(MarkupDocumentTest, FailuresNameTheirCause)
{
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"<a data-x=\"1\"/>", L"Error while parsing attributes"},
        {L"<a x=1/>", L"Expected attribute value"},
        {L"<a x='1'/>", L"Expected attribute value"},
        {L"<a x=\"1", L"Error while parsing attribute string"},
        {L"<abc", L"Error parsing element name"},
        {L"<a x=\"1\" /x>", L"Expected start-tag closing"},
        {L"<a><b><c>text", L"Expected end-tag start"},
        {L"<a><b><c/>", L"Expected start tag"},
        {L"text", L"Expected start tag"},
        {L"<a>x</a>junk", L"Expected start tag"},
        {L"<a>mixed<b/>content</a>", L"Expected start tag"},
        {L"<a></b>", L"Unmatched closing tag"},
        {L"<ab></a>", L"Unmatched closing tag"},
        {L"<a></ab>", L"Unmatched closing tag"},
        {L"<a></a", L"Unmatched closing tag"},
    };
    for (const auto& [text, message] : cases) {
        EXPECT_EQ(ErrorOf(text), message) << Narrow(text.c_str());
    }
}

TEST_F(MarkupDocumentTest, ErrorContextIsThe49CharactersAtTheFailure)
{
    ErrorOf(L"<a><b>stray " + std::wstring(60, L'y') + L"<c");
    EXPECT_EQ(std::wstring(m_document.GetErrorLocation()), L"");
    ErrorOf(L"<a x=1 and the rest of the text here is more than forty-nine characters long/>");
    EXPECT_EQ(std::wstring(m_document.GetErrorLocation()),
              L"1 and the rest of the text here is more than fort");
    EXPECT_TRUE(m_document.LoadFromString(L"<ok/>"));
    EXPECT_STREQ(m_document.GetErrorMessage(), L"");
    EXPECT_STREQ(m_document.GetErrorLocation(), L"");
}

TEST_F(MarkupDocumentTest, ManyAndDeeplyNestedElements)
{
    std::wstring wide = L"<list>";
    for (int i = 0; i < 5000; ++i) {
        wide += L"<item n=\"" + std::to_wstring(i) + L"\"/>";
    }
    MarkupNode item = Parse(wide + L"</list>").GetChild();
    int count = 0;
    for (; item.IsValid(); item = item.GetSibling()) {
        EXPECT_EQ(item.GetAttributeValue(L"n"), std::to_wstring(count++));
    }
    EXPECT_EQ(count, 5000);

    // Nesting depth does not consume stack.
    const int depth = 200000;
    std::wstring deep;
    for (int i = 0; i < depth; ++i) {
        deep += L"<d>";
    }
    deep += L"leaf";
    for (int i = 0; i < depth; ++i) {
        deep += L"</d>";
    }
    MarkupNode node = Parse(deep);
    int levels = 1;
    while (node.GetChild().IsValid()) {
        node = node.GetChild();
        ++levels;
    }
    EXPECT_EQ(levels, depth);
    EXPECT_STREQ(node.GetValue(), L"leaf");
}

TEST_F(MarkupDocumentTest, FileDataRules)
{
    const std::string body = "<Window caption=\"0,0,0,30\"/>";
    const std::string withMark = "\xEF\xBB\xBF" + body;
    ASSERT_TRUE(m_document.LoadFromFileData(reinterpret_cast<const uint8_t*>(withMark.data()),
                                            withMark.size()));
    EXPECT_STREQ(m_document.GetRoot().GetAttributeValue(L"caption"), L"0,0,0,30");
    // The same bytes handed over as a string keep the mark in front of "<".
    EXPECT_EQ(ErrorOf(L"\uFEFF<Window/>"), L"Expected start tag");

    EXPECT_FALSE(m_document.LoadFromFileData(reinterpret_cast<const uint8_t*>(""), 0));
    EXPECT_STREQ(m_document.GetErrorMessage(), L"File is empty");

    std::string big = "<big>";
    big.resize(MarkupDocument::kMaxFileSize - 6, ' ');
    big += "</big>";
    ASSERT_EQ(big.size(), 4194304u);
    EXPECT_TRUE(
        m_document.LoadFromFileData(reinterpret_cast<const uint8_t*>(big.data()), big.size()));
    big += " ";
    EXPECT_FALSE(
        m_document.LoadFromFileData(reinterpret_cast<const uint8_t*>(big.data()), big.size()));
    EXPECT_STREQ(m_document.GetErrorMessage(), L"File too large");
}

TEST_F(MarkupDocumentTest, EachLoadReplacesThePreviousContent)
{
    Parse(L"<first><child/></first>");
    EXPECT_STREQ(Parse(L"<second/>").GetName(), L"second");
    EXPECT_FALSE(m_document.GetRoot().GetChild().IsValid());
    ErrorOf(L"<broken");
    m_document.Release();
    EXPECT_FALSE(m_document.GetRoot().IsValid());
}

} // namespace
