// A small element tree of an XML file read with expat: names, attributes, text and line numbers,
// for list files of a few megabytes that are read whole.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vmk::publish {

struct XmlElement {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::string text;  // the character data directly inside, CDATA included, UTF-8
  std::vector<XmlElement> children;
  long line = 0;

  // The first child of that name, nullptr when there is none.
  const XmlElement* Child(std::string_view childName) const;
  std::vector<const XmlElement*> Children(std::string_view childName) const;
  // The text of the first child of that name, "" when there is none.
  std::string ChildText(std::string_view childName) const;
  std::string Attribute(std::string_view attributeName) const;
};

struct XmlDocument {
  XmlElement root;
  std::string error;  // "<file>:<line>: <what>", empty on success
  bool Ok() const { return error.empty(); }
};

XmlDocument ReadXmlFile(const std::filesystem::path& file);

// "<file>:<line>: <what>", the form of every reading error.
std::string LocatedError(const std::filesystem::path& file, long line, const std::string& what);

}  // namespace vmk::publish
