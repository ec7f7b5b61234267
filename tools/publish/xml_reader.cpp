#include "publish/xml_reader.h"

#include <expat.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <type_traits>

namespace vmk::publish {
namespace {

struct ParserFree {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using Parser = std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserFree>;

// The elements still open, innermost last; each points into its parent's children, which do not
// move while the element is open because only the innermost element gains children.
struct TreeBuilder {
  XML_Parser parser = nullptr;
  XmlElement* root = nullptr;
  std::vector<XmlElement*> open;
};

void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto& builder = *static_cast<TreeBuilder*>(data);
  XmlElement* element = builder.root;
  if (!builder.open.empty()) element = &builder.open.back()->children.emplace_back();
  element->name = name;
  element->line = static_cast<long>(XML_GetCurrentLineNumber(builder.parser));
  for (const XML_Char** pair = attributes; *pair != nullptr; pair += 2)
    element->attributes[pair[0]] = pair[1];
  builder.open.push_back(element);
}

void OnEnd(void* data, const XML_Char*) {
  static_cast<TreeBuilder*>(data)->open.pop_back();
}

void OnText(void* data, const XML_Char* text, int length) {
  auto& builder = *static_cast<TreeBuilder*>(data);
  if (!builder.open.empty()) builder.open.back()->text.append(text, static_cast<std::size_t>(length));
}

bool EndsEarly(XML_Error code) {
  return code == XML_ERROR_NO_ELEMENTS || code == XML_ERROR_UNCLOSED_TOKEN ||
         code == XML_ERROR_PARTIAL_CHAR || code == XML_ERROR_UNCLOSED_CDATA_SECTION;
}

// Expat's reason, made plainer for the two faults a list file usually has: it is no XML at all, or its
// download stopped early.
std::string ParseErrorText(XML_Error code, const TreeBuilder& builder) {
  const std::string reason = XML_ErrorString(code);
  if (builder.root->name.empty()) return reason + " (not an XML file)";
  if (!builder.open.empty() && EndsEarly(code)) {
    return "the file ends inside element " + builder.open.back()->name + " (truncated)";
  }
  return reason;
}

}  // namespace

std::string LocatedError(const std::filesystem::path& file, long line, const std::string& what) {
  std::ostringstream out;
  out << file.string() << ':' << line << ": " << what;
  return out.str();
}

const XmlElement* XmlElement::Child(std::string_view childName) const {
  for (const XmlElement& child : children) {
    if (child.name == childName) return &child;
  }
  return nullptr;
}

std::vector<const XmlElement*> XmlElement::Children(std::string_view childName) const {
  std::vector<const XmlElement*> found;
  for (const XmlElement& child : children) {
    if (child.name == childName) found.push_back(&child);
  }
  return found;
}

std::string XmlElement::ChildText(std::string_view childName) const {
  const XmlElement* child = Child(childName);
  return child != nullptr ? child->text : std::string();
}

std::string XmlElement::Attribute(std::string_view attributeName) const {
  const auto it = attributes.find(std::string(attributeName));
  return it != attributes.end() ? it->second : std::string();
}

XmlDocument ReadXmlFile(const std::filesystem::path& file) {
  XmlDocument document;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    document.error = LocatedError(file, 0, "cannot open the file");
    return document;
  }
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (content.size() > static_cast<std::size_t>(INT32_MAX)) {
    document.error = LocatedError(file, 0, "file too large");
    return document;
  }
  if (content.empty()) {
    document.error = LocatedError(file, 1, "empty file");
    return document;
  }
  Parser parser(XML_ParserCreate(nullptr));
  if (!parser) {
    document.error = LocatedError(file, 0, "out of memory");
    return document;
  }
  TreeBuilder builder{parser.get(), &document.root, {}};
  XML_SetUserData(parser.get(), &builder);
  XML_SetElementHandler(parser.get(), OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser.get(), OnText);
  if (XML_Parse(parser.get(), content.data(), static_cast<int>(content.size()), XML_TRUE) != XML_STATUS_OK) {
    const long line = static_cast<long>(XML_GetCurrentLineNumber(parser.get()));
    document.error = LocatedError(file, line, ParseErrorText(XML_GetErrorCode(parser.get()), builder));
    document.root = XmlElement();
  }
  return document;
}

}  // namespace vmk::publish
