#include "image/bank_image_report.h"

#include <iomanip>
#include <sstream>
#include <vector>

namespace tessara::image {

namespace {

// "2, 8-9" for bytes 2, 8 and 9; "-" when none is selected.
std::string ByteRanges(const std::vector<uint32_t>& selected) {
    if (selected.empty()) return "-";
    std::string text;
    for (size_t i = 0; i < selected.size();) {
        size_t j = i;
        while (j + 1 < selected.size() && selected[j + 1] == selected[j] + 1) ++j;
        if (!text.empty()) text += ", ";
        text += std::to_string(selected[i]);
        if (j > i) text += "-" + std::to_string(selected[j]);
        i = j + 1;
    }
    return text;
}

std::string BaudText(uint8_t code, const char* name) {
    return std::to_string(code) + " (" + (name ? name : "unknown code") + ")";
}

void NodeRows(std::ostream& out, const DecodedImage& image) {
    out << "Node   ID  Bytes in  Bytes out  In map  Out map  In sel  Out sel  Selected in / Selected out\n";
    for (size_t i = 0; i < image.nodes.size(); ++i) {
        const DecodedNode& n = image.nodes[i];
        out << std::setw(4) << i + 1 << std::setw(5) << int{n.ID} << std::setw(10) << n.NB_IN << std::setw(11)
            << n.NB_OUT << std::setw(8) << n.InMapPos << std::setw(9) << n.OutMapPos << std::setw(8)
            << int{n.InSelCount} << std::setw(9) << int{n.OutSelCount} << "  " << ByteRanges(n.InSelected) << " / "
            << ByteRanges(n.OutSelected) << "\n";
    }
}

void ParameterRows(std::ostream& out, const DecodedParameters& p) {
    const auto row = [&out](const char* name, const std::string& value) {
        out << "  " << std::left << std::setw(32) << name << std::right << value << "\n";
    };
    row("PROFIBUS device ID", std::to_string(p.PROFI_ID));
    row("PROFIBUS baud rate", BaudText(p.PROFI_BAUD, ProfibusBaudName(p.PROFI_BAUD)));
    row("PROFIBUS bytes in", std::to_string(p.PROFI_NB_IN));
    row("PROFIBUS bytes out", std::to_string(p.PROFI_NB_OUT));
    row("DeviceNet device ID", std::to_string(p.DNET_DEV_ID));
    row("DeviceNet baud rate", BaudText(p.DNET_BAUD, DeviceNetBaudName(p.DNET_BAUD)));
    row("Nodes", std::to_string(p.NodeCount));
    row("Cancel data on DeviceNet error", std::to_string(p.PROFI_CANCEL_DATA));
    row("Cancel data on PROFIBUS error", std::to_string(p.DNET_CANCEL_DATA));
}

std::string JsonNumbers(const std::vector<uint32_t>& values) {
    std::string text = "[";
    for (size_t i = 0; i < values.size(); ++i) text += (i ? "," : "") + std::to_string(values[i]);
    return text + "]";
}

std::string JsonName(const char* name) {
    return name ? "\"" + std::string(name) + "\"" : "null";
}

void JsonNode(std::ostream& out, const DecodedNode& n) {
    out << "{\"ID\":" << int{n.ID} << ",\"NB_IN\":" << n.NB_IN << ",\"NB_OUT\":" << n.NB_OUT
        << ",\"InMapPos\":" << n.InMapPos << ",\"OutMapPos\":" << n.OutMapPos << ",\"InSelCount\":" << int{n.InSelCount}
        << ",\"OutSelCount\":" << int{n.OutSelCount} << ",\"InSelected\":" << JsonNumbers(n.InSelected)
        << ",\"OutSelected\":" << JsonNumbers(n.OutSelected) << "}";
}

void JsonParameters(std::ostream& out, const DecodedParameters& p) {
    out << "{\"PROFI_ID\":" << int{p.PROFI_ID} << ",\"PROFI_BAUD\":" << int{p.PROFI_BAUD}
        << ",\"PROFI_BAUD_NAME\":" << JsonName(ProfibusBaudName(p.PROFI_BAUD))
        << ",\"PROFI_NB_IN\":" << int{p.PROFI_NB_IN} << ",\"PROFI_NB_OUT\":" << int{p.PROFI_NB_OUT}
        << ",\"DNET_DEV_ID\":" << int{p.DNET_DEV_ID} << ",\"DNET_BAUD\":" << int{p.DNET_BAUD}
        << ",\"DNET_BAUD_NAME\":" << JsonName(DeviceNetBaudName(p.DNET_BAUD)) << ",\"NodeCount\":" << int{p.NodeCount}
        << ",\"PROFI_CANCEL_DATA\":" << int{p.PROFI_CANCEL_DATA} << ",\"DNET_CANCEL_DATA\":" << int{p.DNET_CANCEL_DATA}
        << "}";
}

}  // namespace

std::string ImageTable(const DecodedImage& image) {
    std::ostringstream out;
    out << "Configuration image: " << image.length << " bytes, " << image.nodes.size() << " nodes\n";
    out << "Header: bitmaps at " << image.bitmapOffset << ", node records at " << image.recordsOffset
        << ", parameter block at " << image.parametersOffset << "\n\n";
    NodeRows(out, image);
    out << "\nParameters";
    if (image.parameters) {
        out << "\n";
        ParameterRows(out, *image.parameters);
    } else {
        out << ": none (the project had no pargen.xml)\n";
    }
    return out.str();
}

std::string ImageJson(const DecodedImage& image) {
    std::ostringstream out;
    out << "{\"length\":" << image.length << ",\"header\":{\"bitmaps\":" << image.bitmapOffset
        << ",\"records\":" << image.recordsOffset << ",\"parameters\":" << image.parametersOffset << "},\"nodes\":[";
    for (size_t i = 0; i < image.nodes.size(); ++i) {
        if (i) out << ",";
        JsonNode(out, image.nodes[i]);
    }
    out << "],\"parameters\":";
    if (image.parameters) {
        JsonParameters(out, *image.parameters);
    } else {
        out << "null";
    }
    out << "}\n";
    return out.str();
}

}  // namespace tessara::image
