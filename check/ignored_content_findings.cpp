#include "check/ignored_content_findings.h"

#include <array>
#include <cstring>
#include <exception>
#include <optional>

#include "base/project_files.h"
#include "documents/document_file.h"

namespace tessara::check {

namespace {

std::string Quoted(const char* name) {
    return "\"" + std::string(name) + "\"";
}

// The check looks at every attribute of a large project, so each is asked of pugixml once, the names of the first
// few are kept at hand, and first characters are compared before whole names.
bool SameName(const char* a, const char* b) {
    return a[0] == b[0] && std::strcmp(a, b) == 0;
}

// The first attribute of `element` that repeats an earlier one's name, or an empty attribute.
pugi::xml_attribute RepeatedAttribute(pugi::xml_node element) {
    constexpr size_t kKept = 8;
    std::array<const char*, kKept> names{};
    size_t count = 0;
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute(), ++count) {
        const char* name = a.name();
        if (count >= kKept) {
            for (pugi::xml_attribute b = element.first_attribute(); b != a; b = b.next_attribute()) {
                if (SameName(name, b.name())) return a;
            }
            continue;
        }
        for (size_t i = 0; i < count; ++i) {
            if (SameName(name, names[i])) return a;
        }
        names[count] = name;
    }
    return {};
}

// The first child element of `parent` that repeats an earlier sibling's name, or an empty node.
pugi::xml_node RepeatedChild(pugi::xml_node parent) {
    for (pugi::xml_node a = parent.first_child(); a; a = a.next_sibling()) {
        for (pugi::xml_node b = parent.first_child(); b != a; b = b.next_sibling()) {
            if (a.type() == pugi::node_element && std::strcmp(a.name(), b.name()) == 0) return a;
        }
    }
    return {};
}

// Stops at the first element with an attribute given twice; one finding is enough to send the user there.
struct RepeatedAttributeWalker : pugi::xml_tree_walker {
    pugi::xml_node element;
    pugi::xml_attribute twice;
    bool Visit(pugi::xml_node node) {
        twice = RepeatedAttribute(node);
        if (twice) element = node;
        return !twice;
    }
    bool for_each(pugi::xml_node& node) override { return Visit(node); }
};

}  // namespace

void AddIgnoredContentFindings(documents::DocumentFile& document, const std::string& name,
                               std::vector<Finding>& findings) {
    if (!document.Exists()) return;
    pugi::xml_node root;
    try {
        root = document.Root();
    } catch (const std::exception&) {
        return;  // listed by the reader
    }
    if (!root) return;
    if (const std::optional<size_t> nul = document.NulOffset()) {
        findings.push_back({Severity::Warning, name,
                            name + " holds a NUL character at byte offset " + std::to_string(*nul) +
                                ", where reading stops: nothing from there on is read"});
    }
    for (pugi::xml_node other = root.next_sibling(); other; other = other.next_sibling()) {
        if (other.type() != pugi::node_element) continue;
        findings.push_back({Severity::Warning, name,
                            name + " holds a second root element " + Quoted(other.name()) +
                                ", which is not read: only the first one is"});
        break;
    }
    RepeatedAttributeWalker walker;
    if (walker.Visit(root)) root.traverse(walker);
    if (walker.twice) {
        findings.push_back({Severity::Warning, name,
                            name + ": element " + Quoted(walker.element.name()) + " gives the attribute " +
                                Quoted(walker.twice.name()) + " twice; only the first is read"});
    }
    if (name != base::kPargenFileName) return;
    if (const pugi::xml_node twice = RepeatedChild(root)) {
        findings.push_back({Severity::Warning, name,
                            name + " gives the setting " + Quoted(twice.name()) + " twice; only the first is read"});
    }
}

}  // namespace tessara::check
