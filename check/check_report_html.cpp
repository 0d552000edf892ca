#include "check/check_report_html.h"

#include <chrono>
#include <cstdio>
#include <sstream>

#include "base/tool_version.h"
#include "base/utf8_text.h"
#include "check/project_address_map.h"
#include "documents/area_fit.h"
#include "image/bank_image_decoder.h"
#include "plc/address_map.h"

namespace tessara::check {

namespace {

constexpr const char* kStyle =
    "body{font-family:Verdana,sans-serif;font-size:10pt;color:#333333;background:#f8f7ed;margin:24px}"
    "h1{font-size:15pt}h2{font-size:12pt;margin-top:20px}"
    "table{border-collapse:collapse}th,td{border:1px solid silver;padding:3px 8px;vertical-align:top}"
    "th{background:#ebe9da;text-align:left}td.n{text-align:right}"
    ".fit{display:flex;align-items:center;gap:10px;margin:6px 0}.fit .name{width:60px}"
    ".bar{display:flex;width:360px;height:16px;border:1px solid #808080;background:#ffffff}"
    ".used{background:#4f9a4f}.unused{background:#d8d6c8}.overflow{background:#c83c3c}"
    ".error{color:#b02020;font-weight:bold}.warning{color:#9a6a00;font-weight:bold}"
    "tr.beyond td{color:#b02020}td{overflow-wrap:anywhere}td.symbol{white-space:nowrap}"
    // On paper every table takes the page's width and wraps long texts, so no column is cut off.
    "@page{size:A4;margin:15mm}"
    "@media print{body{margin:0;font-size:8pt;background:#ffffff}table{width:100%}table.settings{width:auto}"
    "thead{display:table-header-group}tr{break-inside:avoid}h2{break-after:avoid}}";

// The tool's own text in the page.
std::string Escaped(const std::string& text) {
    std::string html;
    for (const char c : text) {
        switch (c) {
            case '&':
                html += "&amp;";
                break;
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '"':
                html += "&quot;";
                break;
            default:
                html += c;
        }
    }
    return html;
}

// Text taken from a document (a setting, a mnemonic, a finding that quotes one, the project's name), as the
// check's text output shows it: a control, U+FFFE or U+FFFF appears as its code, so the page stays well-formed
// and no direction override is left in it.
std::string PageText(const std::string& text) {
    return Escaped(base::ShownAsText(text));
}

// ... and in an isolate of its own, so that text of the other direction cannot reorder what stands around it.
std::string FromDocument(const std::string& text) {
    return "<bdi>" + PageText(text) + "</bdi>";
}

// Thousandths as a percentage with one decimal, written without the locale's decimal mark.
std::string Percent(int thousandths) {
    return std::to_string(thousandths / 10) + "." + std::to_string(thousandths % 10) + "%";
}

void BarPart(std::ostream& out, const char* kind, int thousandths) {
    if (thousandths > 0) out << "<div class=\"" << kind << "\" style=\"width:" << Percent(thousandths) << "\"></div>";
}

void Fit(std::ostream& out, const char* name, const AreaFit& fit) {
    const documents::AreaBar bar = documents::AreaBarFor(fit);
    out << "<div class=\"fit\"><span class=\"name\">" << name << "</span><div class=\"bar\">";
    BarPart(out, "used", bar.used);
    BarPart(out, "unused", bar.unused);
    BarPart(out, "overflow", bar.overflow);
    out << "</div><span>" << documents::AreaFitText(fit) << "</span></div>\n";
}

void IoMap(std::ostream& out, const ProjectCheck& check) {
    out << "<h2>I/O map</h2>\n";
    if (check.nodes.empty()) {
        out << "<p>No DeviceNet nodes.</p>\n";
        return;
    }
    out << "<table><tr><th>Position</th><th>Address</th><th>Mnemonic</th><th>Input bytes</th>"
           "<th>Selected input</th><th>Output bytes</th><th>Selected output</th><th>Selected bytes</th></tr>\n";
    for (const NodeIo& n : check.nodes) {
        out << "<tr><td class=\"n\">" << n.position << "</td><td class=\"n\">" << n.ID << "</td><td>"
            << FromDocument(n.mnemonic) << "</td><td class=\"n\">" << n.NB_IN << "</td><td class=\"n\">"
            << n.selectedIn.size() << "</td><td class=\"n\">" << n.NB_OUT << "</td><td class=\"n\">"
            << n.selectedOut.size() << "</td><td>" << SelectedBytesText(n, &FromDocument) << "</td></tr>\n";
    }
    out << "</table>\n";
}

void SettingRow(std::ostream& out, const char* name, const std::string& html) {
    out << "<tr><th>" << name << "</th><td>" << html << "</td></tr>\n";
}

std::string BaudName(const char* name, int code) {
    if (name) return name;
    return code < 0 ? std::string("none selected") : "code " + std::to_string(code);
}

const char* YesNo(bool flag) {
    return flag ? "yes" : "no";
}

// The gateway's own parameters as the settings editor shows them, the baud rates by name.
void Settings(std::ostream& out, const ProjectCheck& check) {
    out << "<h2>Gateway settings</h2>\n";
    if (!check.settings) {
        out << "<p>No readable pargen.xml: the settings editor shows its defaults.</p>\n";
        return;
    }
    const documents::CommSettings& s = *check.settings;
    const auto code = [](int value) { return static_cast<uint8_t>(value); };
    out << "<table class=\"settings\">\n";
    SettingRow(out, "PROFIBUS device ID", FromDocument(s.ProfiId));
    SettingRow(out, "PROFIBUS baud rate", BaudName(image::ProfibusBaudName(code(s.ProfiBaud)), s.ProfiBaud));
    SettingRow(out, "PROFIBUS input bytes", FromDocument(s.ProfiNbIn));
    SettingRow(out, "PROFIBUS output bytes", FromDocument(s.ProfiNbOut));
    SettingRow(out, "Cancel Data on DeviceNet Error", YesNo(s.ProfiCancelData));
    SettingRow(out, "DeviceNet device ID", FromDocument(s.DNetDevId));
    SettingRow(out, "DeviceNet baud rate",
               BaudName(s.DNetBaud < 0 ? nullptr : image::DeviceNetBaudName(code(s.DNetBaud)), s.DNetBaud));
    SettingRow(out, "Cancel Data on PROFIBUS Error", YesNo(s.DNetCancelData));
    out << "</table>\n";
}

void MapArea(std::ostream& out, const char* title, const plc::AddressMap& map,
             const std::vector<plc::AddressMapRow>& rows) {
    out << "<h3>" << title << "</h3>\n";
    if (rows.empty()) {
        out << "<p>No selected bytes.</p>\n";
        return;
    }
    out << "<table><thead><tr><th>Address</th><th>Slot</th><th>Node</th><th>ID</th><th>Node mnemonic</th><th>Byte</th>"
           "<th>Mnemonic</th><th>Symbol</th></tr></thead>\n";
    for (const plc::AddressMapRow& r : rows) {
        out << (r.fits ? "<tr>" : "<tr class=\"beyond\">") << "<td>"
            << (r.fits ? documents::PlcAddressText(r.area, r.address, r.size)
                       : "byte " + std::to_string(r.offset) + ": does not fit, " + plc::NotFittingText(map, r))
            << "</td><td class=\"n\">" << (r.fits ? std::to_string(r.slot) : "") << "</td><td class=\"n\">" << r.node
            << "</td><td class=\"n\">" << r.id << "</td><td>" << FromDocument(r.nodeMnemonic) << "</td><td class=\"n\">"
            << r.byte << "</td><td>" << FromDocument(r.mnemonic) << "</td><td class=\"symbol\">" << r.symbol
            << "</td></tr>\n";
    }
    out << "</table>\n";
}

void Map(std::ostream& out, const ProjectCheck& check) {
    out << "<h2>Address map</h2>\n<p>" << Escaped(plc::kAddressMapRule) << "</p>\n";
    if (!check.mapRead) {
        out << "<p>The documents could not all be read: see the findings.</p>\n";
        return;
    }
    const plc::AddressMap map = ProjectAddressMap(check, ProjectLayout(check));
    out << "<p>Slots (starts from PlcMap.xml, or following the slot before):";
    for (const documents::ProfibusSlot& slot : map.layout.Slots()) {
        out << (slot.number == 1 ? " " : "; ") << "slot " << slot.number << ", " << plc::MapAreaName(slot.direction)
            << ", " << slot.size << (slot.size == 1 ? " byte at " : " bytes at ")
            << plc::PlcByteAddress(slot.direction, slot.start);
    }
    out << (map.layout.Slots().empty() ? " none.</p>\n" : ".</p>\n");
    MapArea(out, "Input", map, map.input);
    MapArea(out, "Output", map, map.output);
}

void Findings(std::ostream& out, const ProjectCheck& check) {
    out << "<h2>Findings</h2>\n";
    if (check.findings.empty()) {
        out << "<p>No findings.</p>\n";
        return;
    }
    out << "<table><tr><th>Severity</th><th>Place</th><th>Finding</th></tr>\n";
    for (const Finding& f : check.findings) {
        const char* severity = SeverityName(f.severity);
        out << "<tr><td class=\"" << severity << "\">" << severity << "</td><td>" << FromDocument(f.place)
            << "</td><td>" << FromDocument(f.text) << "</td></tr>\n";
    }
    out << "</table>\n";
}

}  // namespace

std::string CheckReportHtml(const ProjectCheck& check, const std::string& checkedOn) {
    const std::string project = ProjectFolderName(check.projectDir);
    std::ostringstream out;
    // The title holds no markup, so no isolate either.
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Project check: "
        << PageText(project) << "</title>\n<style>" << kStyle
        << "</style>\n</head>\n<body>\n<h1>Project check: " << FromDocument(project) << "</h1>\n<p>Checked on "
        << Escaped(checkedOn) << " with Tessara " << base::ToolVersion() << ": " << FindingsSummary(check) << ".</p>\n";
    Settings(out, check);
    IoMap(out, check);
    out << "<h2>PROFIBUS areas</h2>\n";
    Fit(out, "Input", check.input);
    Fit(out, "Output", check.output);
    Map(out, check);
    Findings(out, check);
    out << "</body>\n</html>\n";
    return out.str();
}

std::string TodayText() {
    const std::chrono::year_month_day today{std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(today.year()),
                  static_cast<unsigned>(today.month()), static_cast<unsigned>(today.day()));
    return text;
}

}  // namespace tessara::check
