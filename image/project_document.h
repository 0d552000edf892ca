#pragma once

#include <pugixml.hpp>
#include <string>

// Loads a project document for the image build with pugixml's own file reader, which parses in place: a
// DefByte.xml of 64 nodes with thousands of bytes each is read without a second copy of its text. The parse
// options are those of XmlDocument, so every document reads the same as in the editors.
// Throws what XmlDocument::LoadFile throws (ParseError naming the line, or the system's reason).
void LoadProjectDocument(pugi::xml_document& doc, const std::string& path);
