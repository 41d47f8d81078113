// A feed file as written, queried with XPath: what the writers' tests look at.
#pragma once

#include "TempDir.h"

#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <string>

class WrittenXml {
  public:
    explicit WrittenXml(const std::string& file)
        : m_doc(xmlReadFile(file.c_str(), nullptr, XML_PARSE_NONET)) {
        if (m_doc) {
            m_xpath = xmlXPathNewContext(m_doc);
            const char* ns[][2] = {{"itunes", "http://www.itunes.com/dtds/podcast-1.0.dtd"},
                                   {"rdf", "http://www.w3.org/1999/02/22-rdf-syntax-ns#"},
                                   {"rss", "http://purl.org/rss/1.0/"},
                                   {"dc", "http://purl.org/dc/elements/1.1/"}};
            for (auto& [prefix, uri] : ns) {
                xmlXPathRegisterNs(m_xpath, reinterpret_cast<const xmlChar*>(prefix),
                                   reinterpret_cast<const xmlChar*>(uri));
            }
        }
    }
    ~WrittenXml() {
        xmlXPathFreeContext(m_xpath);
        xmlFreeDoc(m_doc);
    }
    WrittenXml(const WrittenXml&) = delete;
    WrittenXml& operator=(const WrittenXml&) = delete;

    bool ok() const { return m_doc != nullptr; }

    // The string value of an XPath expression ("string(/rss/channel/title)").
    std::string text(const std::string& path) const { return eval("string(" + path + ")"); }
    int count(const std::string& path) const { return std::stoi(eval("count(" + path + ")")); }

  private:
    std::string eval(const std::string& expression) const {
        if (!m_xpath) {
            return "";
        }
        xmlXPathObject* result =
            xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expression.c_str()), m_xpath);
        xmlChar* value = result ? xmlXPathCastToString(result) : nullptr;
        std::string out = value ? reinterpret_cast<char*>(value) : "";
        xmlFree(value);
        xmlXPathFreeObject(result);
        return out;
    }

    xmlDoc* m_doc;
    xmlXPathContext* m_xpath = nullptr;
};
