#pragma once

#include <string>

// Documents as they may arrive from another machine, shared by the tests of every reader.

// A root holding 100 000 nested elements.
inline std::string DeepDocument(const std::string& root) {
    std::string text = "<" + root + ">";
    for (int i = 0; i < 100000; ++i) text += "<a>";
    for (int i = 0; i < 100000; ++i) text += "</a>";
    return text + "</" + root + ">";
}

// Ten levels of ten references each before `body`: a billion "lol" for &l9; if anything expanded them.
inline std::string EntityBomb(const std::string& body) {
    std::string dtd = "<!DOCTYPE r [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 10; ++i) {
        dtd += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) dtd += "&l" + std::to_string(i - 1) + ";";
        dtd += "\">";
    }
    return dtd + "]>" + body;
}

// ASCII text as UTF-16 little-endian with its byte-order mark.
inline std::string Utf16(const std::string& ascii) {
    std::string text = "\xFF\xFE";
    for (char c : ascii) text += std::string{c, '\0'};
    return text;
}
