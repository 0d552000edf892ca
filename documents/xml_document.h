#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>

namespace tessara::documents {

// A document object: inactive (no tree) or active (a tree, possibly empty). Readers load the file first,
// writers clear the tree first, so nothing relies on what an earlier use left in it.
class XmlDocument {
public:
    void Activate();
    // Parses the file into a new tree; throws ParseError (reason, "Line: N", the offending line) or, when the
    // file cannot be read, std::runtime_error with the system's reason.
    void LoadFile(const std::string& path);
    // Parses text held in memory; `name` stands for the file in messages.
    void LoadText(const std::string& text, const std::string& name);
    // Discards the tree; nothing is written back.
    void Deactivate();
    bool IsActive() const { return doc_ != nullptr; }
    // Of the text last loaded, the byte offset of its first NUL character: the parser stops there, so nothing
    // from it on is read. nullopt when the text holds none, and for a tree that was not loaded.
    std::optional<size_t> NulOffset() const { return nulOffset_; }

    pugi::xml_node FirstTopLevelNode() const;
    void RemoveAllTopLevelNodes();
    pugi::xml_node AddRoot(const char* name);

    // Serialises without declaration or indentation, attributes in the order set, in UTF-8, through a
    // temporary file renamed over the target. Throws std::runtime_error with the path and the reason.
    void SaveFile(const std::string& path) const;
    std::string SaveText() const;

private:
    pugi::xml_parse_result Checked(pugi::xml_parse_result result) const;
    [[noreturn]] void Fail(const pugi::xml_parse_result& result, const std::string& text, const std::string& name);

    std::unique_ptr<pugi::xml_document> doc_;
    std::optional<size_t> nulOffset_;
};

// Node operations of the readers and writers. Positions count every child node from 0.
size_t ChildCount(pugi::xml_node node);
// Throws DocumentError when the position is at or beyond the child count.
pugi::xml_node ChildAt(pugi::xml_node node, size_t position);
// The first child element with the name, or a null node.
pugi::xml_node FindChild(pugi::xml_node node, const char* name);
// As FindChild; throws DocumentError naming the element and its parent when there is none.
pugi::xml_node RequireChild(pugi::xml_node node, const char* name);
pugi::xml_node AppendChild(pugi::xml_node node, const char* name);

// Empty when the element has no child node, else its single text or CDATA child; anything else throws
// DocumentError "Element does not contain a single text node".
std::string ElementText(pugi::xml_node element);
void SetElementText(pugi::xml_node element, const std::string& text);

std::optional<std::string> AttributeText(pugi::xml_node element, const char* name);
void SetAttribute(pugi::xml_node element, const char* name, const std::string& text);
// Throws DocumentError naming the attribute and the element when it is absent.
std::string AttrToText(pugi::xml_node element, const char* name);
// AttrToText converted with the integer text rule; throws DocumentError otherwise.
int32_t AttrToInt(pugi::xml_node element, const char* name);

}  // namespace tessara::documents
