#include "documents/plc_map_document.h"

#include <cstring>

#include "base/project_files.h"
#include "documents/document_error.h"
#include "documents/document_schema.h"
#include "documents/xml_document.h"

namespace tessara::documents {

namespace {

using namespace plc_map_xml;

AreaDirection DirectionAttribute(pugi::xml_node element) {
    const std::string text = AttrToText(element, kArea);
    if (text == kInput) return AreaDirection::Input;
    if (text == kOutput) return AreaDirection::Output;
    throw DocumentError("Attribute \"" + std::string(kArea) + "\": '" + text + "' is neither " + kInput + " nor " +
                        kOutput);
}

// An integer attribute from `least` to kLastPlcByte.
size_t BoundedAttribute(pugi::xml_node element, const char* name, int32_t least) {
    const int32_t value = AttrToInt(element, name);
    if (value < least || static_cast<size_t>(value) > kLastPlcByte)
        throw DocumentError("Attribute \"" + std::string(name) + "\": " + std::to_string(value) + " is not from " +
                            std::to_string(least) + " to " + std::to_string(kLastPlcByte));
    return static_cast<size_t>(value);
}

SlotStart ReadSlot(pugi::xml_node element) {
    return {DirectionAttribute(element), BoundedAttribute(element, kPosition, 1), BoundedAttribute(element, kStart, 0)};
}

TagExport ReadExport(pugi::xml_node element) {
    TagExport tagExport{AttrToText(element, kDate), AttributeText(element, kSymbols).value_or(""), {}};
    size_t index = 0;
    for (pugi::xml_node tag = element.child(kTag); tag; tag = tag.next_sibling(kTag)) {
        ++index;
        try {
            tagExport.tags.push_back(
                {AttrToText(tag, kSymbol), DirectionAttribute(tag), BoundedAttribute(tag, kAddress, 0)});
        } catch (const DocumentError& e) {
            throw e.Within("tag " + std::to_string(index));
        }
    }
    return tagExport;
}

PlcMapDocument ReadDocument(pugi::xml_node root) {
    PlcMapDocument document;
    size_t slot = 0;
    for (pugi::xml_node element = root.child(kSlot); element; element = element.next_sibling(kSlot)) {
        ++slot;
        try {
            document.starts.push_back(ReadSlot(element));
        } catch (const DocumentError& e) {
            throw e.Within("slot element " + std::to_string(slot));
        }
    }
    if (const pugi::xml_node element = root.child(kExport)) document.lastExport = ReadExport(element);
    return document;
}

const char* DirectionText(AreaDirection direction) {
    return direction == AreaDirection::Input ? kInput : kOutput;
}

// The elements this tool writes are replaced; the others stay where they are.
void RemoveOwnElements(pugi::xml_node root) {
    for (pugi::xml_node child = root.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        if (std::strcmp(child.name(), kSlot) == 0 || std::strcmp(child.name(), kExport) == 0) root.remove_child(child);
        child = next;
    }
}

void WriteDocument(pugi::xml_node root, const PlcMapDocument& document) {
    for (const SlotStart& start : document.starts) {
        pugi::xml_node slot = AppendChild(root, kSlot);
        SetAttribute(slot, kArea, DirectionText(start.direction));
        SetAttribute(slot, kPosition, std::to_string(start.position));
        SetAttribute(slot, kStart, std::to_string(start.start));
    }
    if (!document.lastExport) return;
    pugi::xml_node element = AppendChild(root, kExport);
    SetAttribute(element, kDate, document.lastExport->date);
    SetAttribute(element, kSymbols, document.lastExport->symbols);
    for (const ExportedTag& tag : document.lastExport->tags) {
        pugi::xml_node child = AppendChild(element, kTag);
        SetAttribute(child, kSymbol, tag.symbol);
        SetAttribute(child, kArea, DirectionText(tag.direction));
        SetAttribute(child, kAddress, std::to_string(tag.address));
    }
}

}  // namespace

PlcMapDocument LoadPlcMap(DocumentFile& file) {
    if (!file.Exists()) return {};
    try {
        return ReadDocument(file.Root());
    } catch (const DocumentError& e) {
        throw e.InFile(file.Path());
    }
}

PlcMapDocument LoadPlcMap(const std::string& projectDir) {
    DocumentFile file(base::ProjectFile(projectDir, base::kPlcMapFileName));
    return LoadPlcMap(file);
}

void SavePlcMap(const std::string& projectDir, const PlcMapDocument& document) {
    const std::string path = base::ProjectFile(projectDir, base::kPlcMapFileName);
    XmlDocument xml;
    if (base::AnythingExists(path)) {
        xml.LoadFile(path);
    } else {
        xml.Activate();
    }
    pugi::xml_node root = xml.FirstTopLevelNode();
    if (!root) root = xml.AddRoot(kRoot);
    RemoveOwnElements(root);
    WriteDocument(root, document);
    xml.SaveFile(path);
}

}  // namespace tessara::documents
