#include "plc/plcopen_xml.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <pugixml.hpp>

#include "base/tool_version.h"
#include "plc/address_map_export.h"
#include "plc/swap_program.h"

namespace tessara::plc {

namespace {

constexpr const char* kTc6Namespace = "http://www.plcopen.org/xml/tc6_0201";
constexpr const char* kXhtmlNamespace = "http://www.w3.org/1999/xhtml";

// The TC6 schema wants the three editors' scalings even where no graphic is exchanged.
void CoordinateInfo(pugi::xml_node contentHeader) {
    pugi::xml_node info = contentHeader.append_child("coordinateInfo");
    for (const char* editor : {"fbd", "ld", "sfc"}) {
        pugi::xml_node scaling = info.append_child(editor).append_child("scaling");
        scaling.append_attribute("x") = "1";
        scaling.append_attribute("y") = "1";
    }
}

std::string Documentation(const AddressMapRow& row) {
    const std::string place = MapRowComment(row);
    return row.mnemonic.empty() ? place : PrintableText(row.mnemonic) + ": " + place;
}

// "%IW12": the IEC direct address of a row, with the width of its value.
std::string DirectAddress(const AddressMapRow& row) {
    std::string address = "%" + MapRowAddress(row);
    address.erase(3, 1);  // "IW 12" has a blank the IEC form has not
    return address;
}

void Variable(pugi::xml_node globalVars, const std::string& name, const std::string& address, documents::TagType type,
              const std::string& documentation) {
    pugi::xml_node variable = globalVars.append_child("variable");
    variable.append_attribute("name") = name.c_str();
    if (!address.empty()) variable.append_attribute("address") = address.c_str();
    variable.append_child("type").append_child(documents::TagTypeName(type));
    variable.append_child("documentation").append_child("xhtml:p").text() = documentation.c_str();
}

std::string SwapNote(const AddressMapRow& row) {
    return " (the device sends its bytes " + std::string(documents::ByteOrderName(row.byteOrder)) +
           "-endian: swap them)";
}

// The raw variable of a row the program swaps; null for any other row.
const std::string* RawName(const SwapProgram* program, const AddressMapRow& row) {
    if (program == nullptr) return nullptr;
    const auto found = program->raw.find(&row);
    return found == program->raw.end() ? nullptr : &found->second;
}

// A tag the program swaps is two variables: its raw bit string at the address, and its value without one.
void Variables(pugi::xml_node globalVars, const std::vector<AddressMapRow>& rows, const SwapProgram* program) {
    for (const AddressMapRow& row : rows) {
        if (!row.fits) continue;
        if (const std::string* raw = RawName(program, row)) {
            Variable(globalVars, *raw, DirectAddress(row), RawTypeOf(row.type),
                     "Bytes of " + row.symbol + " as the device sends them, " +
                         documents::ByteOrderName(row.byteOrder) + "-endian: " + Documentation(row));
            Variable(globalVars, row.symbol, {}, row.type,
                     Documentation(row) + " (swapped from " + *raw + " by " + program->pous.back().name + ")");
        } else {
            Variable(globalVars, row.symbol, DirectAddress(row), row.type,
                     Documentation(row) + (row.swap ? SwapNote(row) : ""));
        }
    }
}

void VariableList(pugi::xml_node interface, const char* kind, const std::vector<StVariable>& variables) {
    if (variables.empty()) return;
    pugi::xml_node list = interface.append_child(kind);
    for (const StVariable& variable : variables) {
        pugi::xml_node node = list.append_child("variable");
        node.append_attribute("name") = variable.name.c_str();
        node.append_child("type").append_child(documents::TagTypeName(variable.type));
    }
}

void Pous(pugi::xml_node pous, const SwapProgram& program) {
    for (const StPou& pou : program.pous) {
        pugi::xml_node node = pous.append_child("pou");
        node.append_attribute("name") = pou.name.c_str();
        node.append_attribute("pouType") = pou.function ? "function" : "program";
        pugi::xml_node interface = node.append_child("interface");
        if (pou.function) interface.append_child("returnType").append_child(documents::TagTypeName(pou.returnType));
        VariableList(interface, "inputVars", pou.inputs);
        VariableList(interface, "localVars", pou.locals);
        VariableList(interface, "externalVars", pou.externals);
        node.append_child("body").append_child("ST").append_child("xhtml:p").text() = pou.body.c_str();
    }
}

}  // namespace

void WritePlcOpenXml(std::ostream& out, const AddressMap& map, const std::string& creationDateTime, bool swapProgram) {
    const std::optional<SwapProgram> program = swapProgram ? PlanSwapProgram(map) : std::nullopt;
    pugi::xml_document doc;
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "utf-8";
    pugi::xml_node project = doc.append_child("project");
    project.append_attribute("xmlns") = kTc6Namespace;
    project.append_attribute("xmlns:xhtml") = kXhtmlNamespace;

    pugi::xml_node fileHeader = project.append_child("fileHeader");
    fileHeader.append_attribute("companyName") = "Kestrane";
    fileHeader.append_attribute("productName") = "Tessara";
    fileHeader.append_attribute("productVersion") = base::ToolVersion();
    fileHeader.append_attribute("creationDateTime") = creationDateTime.c_str();
    pugi::xml_node contentHeader = project.append_child("contentHeader");
    contentHeader.append_attribute("name") = PrintableText(map.project).c_str();
    CoordinateInfo(contentHeader);

    pugi::xml_node types = project.append_child("types");
    types.append_child("dataTypes");
    pugi::xml_node pous = types.append_child("pous");
    if (program) Pous(pous, *program);

    pugi::xml_node configuration =
        project.append_child("instances").append_child("configurations").append_child("configuration");
    configuration.append_attribute("name") = "Gateway";
    pugi::xml_node resource = configuration.append_child("resource");
    resource.append_attribute("name") = "VO48210";
    pugi::xml_node globalVars = resource.append_child("globalVars");
    Variables(globalVars, map.input, program ? &*program : nullptr);
    Variables(globalVars, map.output, program ? &*program : nullptr);
    // No task: a program of no task runs cyclically at the lowest priority, and the PLC programmer knows the
    // task it belongs in.
    if (program) {
        pugi::xml_node instance = resource.append_child("pouInstance");
        instance.append_attribute("name") = program->instance.c_str();
        instance.append_attribute("typeName") = program->pous.back().name.c_str();
    }

    doc.save(out, "  ", pugi::format_indent, pugi::encoding_utf8);
}

// Formed from the calendar types rather than gmtime_r, which not every platform's C library has.
std::string UtcDateTimeNow() {
    using namespace std::chrono;
    const sys_seconds now = floor<seconds>(system_clock::now());
    const sys_days day = floor<days>(now);
    const year_month_day date(day);
    const hh_mm_ss time(now - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02ld:%02ld:%02ldZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<long>(time.hours().count()), static_cast<long>(time.minutes().count()),
                  static_cast<long>(time.seconds().count()));
    return text;
}

}  // namespace tessara::plc
