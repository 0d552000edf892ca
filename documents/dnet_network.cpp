#include "documents/dnet_network.h"

#include <algorithm>

#include "documents/document_error.h"
#include "documents/document_file.h"
#include "documents/document_schema.h"
#include "documents/int_text_range.h"
#include "documents/xml_document.h"

namespace tessara::documents {

namespace {

using namespace dnet_net_xml;

// Cell by cell, so a row whose third attribute is missing keeps its first two, as the grid shows them.
void ReadRow(pugi::xml_node node, DNetRow& row) {
    row.ID = AttrToText(node, kId);
    row.NB_IN = AttrToText(node, kNbIn);
    row.NB_OUT = AttrToText(node, kNbOut);
    row.Mnemonic = AttrToText(node, kMnemonic);
}

void ReadRows(pugi::xml_node root, DNetRows& rows) {
    const size_t count = std::min(ChildCount(root), kDNetRowCount);
    for (size_t i = 0; i < count; ++i) ReadRow(ChildAt(root, i), rows[i]);
}

std::string RowError(size_t index, const char* what) {
    return "Error in row " + std::to_string(index + 1) + "!! " + what;
}

}  // namespace

size_t DNetListLength(const DNetRows& rows) {
    const auto end = std::find_if(rows.begin(), rows.end(), [](const DNetRow& row) { return row.ID.empty(); });
    return static_cast<size_t>(end - rows.begin());
}

std::optional<size_t> FirstRowBelowTheList(const DNetRows& rows) {
    for (size_t i = DNetListLength(rows); i < rows.size(); ++i) {
        if (rows[i] != DNetRow{}) return i;
    }
    return std::nullopt;
}

void LoadDNetNetwork(DocumentFile& network, DNetRows& rows) {
    if (!network.Exists()) return;
    const pugi::xml_node root = network.Root();
    ReadingDocument(network.Path(), [&] { ReadRows(root, rows); });
}

void LoadDNetNetwork(const std::string& path, DNetRows& rows) {
    DocumentFile network(path);
    LoadDNetNetwork(network, rows);
}

size_t RowsPastTheGrid(DocumentFile& network) {
    if (!network.Exists()) return 0;
    const size_t count = ChildCount(network.Root());
    return count > kDNetRowCount ? count - kDNetRowCount : 0;
}

std::optional<std::string> CheckRows(const DNetRows& rows) {
    const size_t length = DNetListLength(rows);
    for (size_t i = 0; i < length; ++i) {
        const DNetRow& row = rows[i];
        if (!IntTextInRange(row.ID, 0, 63)) return RowError(i, "ID must be between 0 and 63. ");
        if (!IntTextInRange(row.NB_IN, 0, 65535)) return RowError(i, "Number Byte IN must be between 0 and 65535. ");
        if (!IntTextInRange(row.NB_OUT, 0, 65535)) return RowError(i, "Number Byte OUT must be between 0 and 65535. ");
    }
    return std::nullopt;
}

void SaveDNetNetwork(XmlDocument& doc, const std::string& path, const DNetRows& rows) {
    doc.RemoveAllTopLevelNodes();
    pugi::xml_node root = doc.AddRoot(kRoot);
    const size_t length = DNetListLength(rows);
    for (size_t i = 0; i < length; ++i) {
        pugi::xml_node node = AppendChild(root, kRow);
        SetAttribute(node, kId, rows[i].ID);
        SetAttribute(node, kNbIn, rows[i].NB_IN);
        SetAttribute(node, kNbOut, rows[i].NB_OUT);
        SetAttribute(node, kMnemonic, rows[i].Mnemonic);
    }
    doc.SaveFile(path);
}

}  // namespace tessara::documents
