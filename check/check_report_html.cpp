#include "check/check_report_html.h"

#include <chrono>
#include <cstdio>
#include <sstream>

#include "check/area_bar.h"

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
    ".error{color:#b02020;font-weight:bold}.warning{color:#9a6a00;font-weight:bold}";

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
            case '\r':
                break;
            case '\n':
                html += "<br>";
                break;
            default:
                html += c;
        }
    }
    return html;
}

// Thousandths as a percentage with one decimal, written without the locale's decimal mark.
std::string Percent(int thousandths) {
    return std::to_string(thousandths / 10) + "." + std::to_string(thousandths % 10) + "%";
}

void BarPart(std::ostream& out, const char* kind, int thousandths) {
    if (thousandths > 0) out << "<div class=\"" << kind << "\" style=\"width:" << Percent(thousandths) << "\"></div>";
}

// Text from documents in a cell of its own direction: a right-to-left override in a mnemonic cannot reorder the
// text around it.
std::string Isolated(const std::string& text) {
    return "<bdi>" + Escaped(text) + "</bdi>";
}

void Fit(std::ostream& out, const char* name, const AreaFit& fit) {
    const AreaBar bar = AreaBarFor(fit);
    out << "<div class=\"fit\"><span class=\"name\">" << name << "</span><div class=\"bar\">";
    BarPart(out, "used", bar.used);
    BarPart(out, "unused", bar.unused);
    BarPart(out, "overflow", bar.overflow);
    out << "</div><span>" << AreaFitText(fit) << "</span></div>\n";
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
            << Isolated(n.mnemonic) << "</td><td class=\"n\">" << n.NB_IN << "</td><td class=\"n\">"
            << n.selectedIn.size() << "</td><td class=\"n\">" << n.NB_OUT << "</td><td class=\"n\">"
            << n.selectedOut.size() << "</td><td>" << SelectedBytesText(n, &Isolated) << "</td></tr>\n";
    }
    out << "</table>\n";
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
        out << "<tr><td class=\"" << severity << "\">" << severity << "</td><td>" << Escaped(f.place) << "</td><td>"
            << Escaped(f.text) << "</td></tr>\n";
    }
    out << "</table>\n";
}

}  // namespace

std::string CheckReportHtml(const ProjectCheck& check, const std::string& checkedOn) {
    const std::string title = "Project check: " + Escaped(ProjectFolderName(check.projectDir));
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" << title
        << "</title>\n<style>" << kStyle << "</style>\n</head>\n<body>\n<h1>" << title << "</h1>\n<p>Checked on "
        << Escaped(checkedOn) << ": " << FindingsSummary(check) << ".</p>\n";
    IoMap(out, check);
    out << "<h2>PROFIBUS areas</h2>\n";
    Fit(out, "Input", check.input);
    Fit(out, "Output", check.output);
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
