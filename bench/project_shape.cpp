#include "bench/project_shape.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <pugixml.hpp>
#include <random>
#include <stdexcept>
#include <string>

#include "base/file_system.h"
#include "base/project_files.h"
#include "documents/comm_settings.h"
#include "documents/def_byte.h"
#include "documents/dnet_network.h"
#include "documents/plc_map_document.h"
#include "documents/xml_document.h"

using namespace tessara::base;
using namespace tessara::documents;

namespace {

constexpr uint16_t kMostBytes = 65535;

ProjectShape Uniform(size_t nodes, uint16_t bytes, ByteNaming naming = ByteNaming::Random) {
    return ProjectShape{std::vector<NodeSize>(nodes, NodeSize{bytes, bytes}), naming};
}

constexpr const char* kStem = "ConveyorSection12Motor";  // 22 characters
constexpr size_t kTailCount = 1368;
constexpr const char* kTailCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// The tails in order of length, then of their characters: A, B, ... 9, AA, AB, ...; past the 1 332 tails of
// one and two characters come AAA, AAB, ..., which the cut to 24 characters makes equal to AA.
std::string Tail(size_t index) {
    const size_t base = std::char_traits<char>::length(kTailCharacters);
    size_t length = 1;
    for (size_t count = base; index >= count; count *= base, ++length) index -= count;
    std::string tail(length, ' ');
    for (size_t i = length; i-- > 0; index /= base) tail[i] = kTailCharacters[index % base];
    return tail;
}

// 24 characters, different for every byte of up to 100 nodes of up to 9 999 bytes.
std::string DistinctMnemonic(size_t node, char direction, size_t byteNumber) {
    char number[16];
    std::snprintf(number, sizeof number, "N%02zu%c%04zu", node % 100, direction, byteNumber % 10000);
    return std::string(kStem, 16) + number;
}

// std::mt19937's sequence is fixed by the language, unlike its distributions, so only raw draws are used.
class Draws {
public:
    explicit Draws(uint32_t seed) : engine_(seed) {}
    bool Coin() { return (engine_() & 1u) != 0; }
    // A mnemonic of realistic length: a direction letter, the byte number and a short random tag.
    std::string Mnemonic(char direction, size_t byteNumber) {
        std::string text = std::string(1, direction) + std::to_string(byteNumber) + "_";
        for (int i = 0; i < 4; ++i) text += static_cast<char>('A' + engine_() % 26);
        return text;
    }

private:
    std::mt19937 engine_;
};

// Gives every byte of one direction of node `node` its selection and mnemonic; `named` counts the bytes named
// so far in the project, which picks the next shared-stem tail.
void FillDirection(Draws& draws, ByteNaming naming, size_t node, char direction, std::vector<char>& select,
                   std::vector<std::string>& mnemonic, size_t& named) {
    for (size_t j = 0; j < select.size(); ++j, ++named) {
        switch (naming) {
            case ByteNaming::Random:
                select[j] = draws.Coin();
                mnemonic[j] = draws.Mnemonic(direction, j + 1);
                break;
            case ByteNaming::SharedStem:
                select[j] = 1;
                mnemonic[j] = kStem + Tail(named % kTailCount);
                break;
            case ByteNaming::Distinct:
                select[j] = 1;
                mnemonic[j] = DistinctMnemonic(node, direction, j + 1);
                break;
        }
    }
}

DNetRows NetworkRows(const ProjectShape& shape) {
    if (shape.nodes.size() > kDNetRowCount) throw std::invalid_argument("A project has at most 64 nodes");
    DNetRows rows{};
    for (size_t i = 0; i < shape.nodes.size(); ++i) {
        rows[i] = DNetRow{std::to_string(i), std::to_string(shape.nodes[i].inBytes),
                          std::to_string(shape.nodes[i].outBytes), "Node " + std::to_string(i + 1)};
    }
    return rows;
}

DefByteTable ByteTable(const ProjectShape& shape, uint32_t seed) {
    Draws draws(seed);
    size_t named = 0;
    DefByteTable table(shape.nodes.size());
    for (size_t i = 0; i < table.size(); ++i) {
        DN_Nodo& node = table[i];
        node.ID = static_cast<uint8_t>(i);
        node.NB_IN = shape.nodes[i].inBytes;
        node.NB_OUT = shape.nodes[i].outBytes;
        node.InSelect.resize(node.NB_IN);
        node.InMnemonic.resize(node.NB_IN);
        node.OutSelect.resize(node.NB_OUT);
        node.OutMnemonic.resize(node.NB_OUT);
        FillDirection(draws, shape.naming, i, 'I', node.InSelect, node.InMnemonic, named);
        FillDirection(draws, shape.naming, i, 'O', node.OutSelect, node.OutMnemonic, named);
    }
    if (shape.firstMnemonicLength && !table.empty() && !table[0].InMnemonic.empty()) {
        table[0].InSelect[0] = 1;
        table[0].InMnemonic[0] = std::string(shape.firstMnemonicLength, 'M');
    }
    return table;
}

// Tags over runs of consecutive selected bytes, the types in turn, until a quarter of the selected bytes is
// covered; a run too short for the next type gets a WORD or an INT, and a single byte none.
std::vector<TypedTag> TagsOver(const DefByteTable& table) {
    constexpr TagType kTypes[] = {TagType::Word, TagType::Int, TagType::Dint, TagType::Real, TagType::Lreal};
    size_t selected = 0;
    for (const DN_Nodo& node : table) {
        selected += static_cast<size_t>(std::count(node.InSelect.begin(), node.InSelect.end(), 1)) +
                    static_cast<size_t>(std::count(node.OutSelect.begin(), node.OutSelect.end(), 1));
    }
    std::vector<TypedTag> tags;
    size_t covered = 0;
    size_t next = 0;
    for (size_t n = 0; n < table.size() && 4 * covered < selected; ++n) {
        for (const AreaDirection direction : {AreaDirection::Input, AreaDirection::Output}) {
            const std::vector<char>& select =
                direction == AreaDirection::Input ? table[n].InSelect : table[n].OutSelect;
            for (size_t j = 0; j < select.size() && 4 * covered < selected;) {
                TagType type = kTypes[next % std::size(kTypes)];
                size_t run = 0;
                while (run < TagTypeSize(type) && j + run < select.size() && select[j + run]) ++run;
                if (run < TagTypeSize(type)) type = next % 2 ? TagType::Int : TagType::Word;
                const size_t size = TagTypeSize(type);
                if (run < size) {
                    j += run + 1;
                    continue;
                }
                const char area = direction == AreaDirection::Input ? 'I' : 'Q';
                tags.push_back({"T" + std::to_string(n + 1) + "_" + area + std::to_string(j + 1), direction, n + 1,
                                static_cast<uint32_t>(j + 1), type, ByteOrder::Little});
                covered += size;
                ++next;
                j += size;
            }
        }
    }
    return tags;
}

// More nodes than the network editor's 64 rows are written as a hand edit would, without the editors' writers,
// and without byte selections, which for such a network no editor holds.
void SaveHandEditedNetwork(const std::string& path, const ProjectShape& shape) {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("DNET_Net");
    for (size_t i = 0; i < shape.nodes.size(); ++i) {
        pugi::xml_node row = root.append_child("row");
        row.append_attribute("ID") = static_cast<unsigned>(i % 64);
        row.append_attribute("NB_IN") = shape.nodes[i].inBytes;
        row.append_attribute("NB_OUT") = shape.nodes[i].outBytes;
        row.append_attribute("Mnemonic") = "";
    }
    if (!doc.save_file(PathFromUtf8(path).c_str(), "", pugi::format_raw | pugi::format_no_declaration))
        throw std::runtime_error("Cannot write " + path);
}

}  // namespace

std::optional<ProjectShape> ShapeNamed(std::string_view name) {
    if (name == "large") return Uniform(64, 4000);
    if (name == "huge") return Uniform(1, kMostBytes);
    if (name == "small") return Uniform(1, 8);
    if (name == "hostile") return Uniform(50000, kMostBytes);
    if (name == "long2000" || name == "long20000") {
        ProjectShape shape = Uniform(64, 4000);
        shape.firstMnemonicLength = name == "long2000" ? 2000 : 20000;
        return shape;
    }
    if (name == "tagged") {
        ProjectShape shape = Uniform(64, 4000);
        shape.typedTags = true;
        return shape;
    }
    if (name == "clash") return Uniform(64, 4000, ByteNaming::SharedStem);
    if (name == "distinct") return Uniform(64, 4000, ByteNaming::Distinct);
    if (name == "switch") return ProjectShape{{NodeSize{8, 8}, NodeSize{kMostBytes, kMostBytes}}};
    return std::nullopt;
}

void MakeProject(const std::string& projectDir, const ProjectShape& shape, uint32_t seed) {
    std::filesystem::create_directories(PathFromUtf8(projectDir + kPathSeparator + "bin"));
    if (shape.nodes.size() > kDNetRowCount)
        return SaveHandEditedNetwork(ProjectFile(projectDir, kDNetNetFileName), shape);
    XmlDocument doc;
    SaveCommSettings(doc, ProjectFile(projectDir, kPargenFileName), CommSettings{});
    SaveDNetNetwork(doc, ProjectFile(projectDir, kDNetNetFileName), NetworkRows(shape));
    const DefByteTable table = ByteTable(shape, seed);
    SaveDefBytes(doc, ProjectFile(projectDir, kDefByteFileName), table);
    if (shape.typedTags) SavePlcMap(projectDir, PlcMapDocument{{}, TagsOver(table), {}, {}});
}
