#include "plc/plcopen_xml.h"

#include <chrono>
#include <cstdio>
#include <pugixml.hpp>
#include <sstream>

#include "base/tool_version.h"
#include "plc/address_map_export.h"

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

void Variables(pugi::xml_node globalVars, const std::vector<AddressMapRow>& rows, const char* prefix) {
    for (const AddressMapRow& row : rows) {
        if (!row.fits) continue;
        pugi::xml_node variable = globalVars.append_child("variable");
        variable.append_attribute("name") = row.symbol.c_str();
        variable.append_attribute("address") = (prefix + std::to_string(row.address)).c_str();
        variable.append_child("type").append_child("BYTE");
        variable.append_child("documentation").append_child("xhtml:p").text() = Documentation(row).c_str();
    }
}

}  // namespace

std::string PlcOpenXml(const AddressMap& map, const std::string& creationDateTime) {
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
    types.append_child("pous");

    pugi::xml_node configuration =
        project.append_child("instances").append_child("configurations").append_child("configuration");
    configuration.append_attribute("name") = "Gateway";
    pugi::xml_node resource = configuration.append_child("resource");
    resource.append_attribute("name") = "VO48210";
    pugi::xml_node globalVars = resource.append_child("globalVars");
    Variables(globalVars, map.input, "%IB");
    Variables(globalVars, map.output, "%QB");

    std::ostringstream out;
    doc.save(out, "  ", pugi::format_indent, pugi::encoding_utf8);
    return out.str();
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
