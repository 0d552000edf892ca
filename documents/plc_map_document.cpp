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

TagType TypeAttribute(pugi::xml_node element) {
    const std::string text = AttrToText(element, kType);
    if (const std::optional<TagType> type = TagTypeNamed(text)) return *type;
    throw DocumentError("Attribute \"" + std::string(kType) + "\": '" + text + "' is not a type the tool knows");
}

ByteOrder ByteOrderAttribute(pugi::xml_node element) {
    const std::string text = AttrToText(element, kByteOrder);
    if (const std::optional<ByteOrder> order = ByteOrderNamed(text)) return *order;
    throw DocumentError("Attribute \"" + std::string(kByteOrder) + "\": '" + text + "' is neither little nor big");
}

TypedTag ReadTypedTag(pugi::xml_node element) {
    TypedTag tag;
    tag.name = AttrToText(element, kName);
    if (tag.name.empty()) throw DocumentError("Attribute \"" + std::string(kName) + "\" is empty");
    tag.direction = DirectionAttribute(element);
    tag.node = BoundedAttribute(element, kNode, 1);
    tag.byte = static_cast<uint32_t>(BoundedAttribute(element, kByte, 1));
    tag.type = TypeAttribute(element);
    tag.byteOrder = ByteOrderAttribute(element);
    return tag;
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
    size_t tag = 0;
    for (pugi::xml_node element = root.child(kTypedTag); element; element = element.next_sibling(kTypedTag)) {
        ++tag;
        try {
            document.tags.push_back(ReadTypedTag(element));
        } catch (const DocumentError& e) {
            throw e.Within("typed tag " + std::to_string(tag));
        }
    }
    if (const pugi::xml_node element = root.child(kPlc)) {
        try {
            document.plcByteOrder = ByteOrderAttribute(element);
        } catch (const DocumentError& e) {
            throw e.Within(std::string(kPlc) + " element");
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
        for (const char* own : {kSlot, kTypedTag, kPlc, kExport}) {
            if (std::strcmp(child.name(), own) == 0) {
                root.remove_child(child);
                break;
            }
        }
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
    for (const TypedTag& tag : document.tags) {
        pugi::xml_node element = AppendChild(root, kTypedTag);
        SetAttribute(element, kName, tag.name);
        SetAttribute(element, kArea, DirectionText(tag.direction));
        SetAttribute(element, kNode, std::to_string(tag.node));
        SetAttribute(element, kByte, std::to_string(tag.byte));
        SetAttribute(element, kType, TagTypeName(tag.type));
        SetAttribute(element, kByteOrder, ByteOrderName(tag.byteOrder));
    }
    if (document.plcByteOrder) SetAttribute(AppendChild(root, kPlc), kByteOrder, ByteOrderName(*document.plcByteOrder));
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
