#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/project_files.h"
#include "documents/comm_settings.h"
#include "documents/def_byte.h"
#include "documents/dnet_network.h"
#include "fuzz_project.h"

using namespace tessara::base;
using namespace tessara::documents;

namespace {

// What the readers made of one input: the models and the errors, in the order they were met.
struct Outcome {
    CommSettings settings;
    DNetRows rows;
    DefByteTable table;
    size_t nodesRead = 0;
    std::vector<std::string> errors;
    std::vector<std::optional<size_t>> nulOffsets;

    // A reader may refuse a document with an error; it must never crash, and what it fills must stay consistent.
    template <class Step>
    void Read(Step&& step) {
        try {
            step();
        } catch (const std::runtime_error& e) {
            errors.emplace_back(e.what());
        }
    }
    bool operator==(const Outcome&) const = default;
};

// The document `name` from its text, or, `onDisk`, from the file written for it.
std::unique_ptr<DocumentFile> Open(const char* name, const std::optional<std::string>& text, bool onDisk,
                                   XmlDocument& xml) {
    const std::string path = ProjectFile(FuzzFolder(), name);
    return onDisk ? std::make_unique<DocumentFile>(path, xml) : std::make_unique<DocumentFile>(path, text, xml);
}

// Where a load says the parser stopped at a NUL, the text holds one.
void CheckNul(const XmlDocument& xml, const std::optional<std::string>& text, Outcome& outcome) {
    const std::optional<size_t> nul = xml.NulOffset();
    if (nul && (!text || *nul >= text->size() || (*text)[*nul] != '\0')) std::abort();
    outcome.nulOffsets.push_back(nul);
}

void CheckTable(const DefByteTable& table) {
    for (const DN_Nodo& node : table) {
        if (node.InSelect.size() != node.NB_IN || node.InMnemonic.size() != node.NB_IN) std::abort();
        if (node.OutSelect.size() != node.NB_OUT || node.OutMnemonic.size() != node.NB_OUT) std::abort();
    }
}

Outcome ReadAll(const FuzzTexts& texts, bool onDisk) {
    Outcome outcome;
    XmlDocument settingsXml;
    outcome.Read(
        [&] { LoadCommSettings(*Open(kPargenFileName, texts.pargen, onDisk, settingsXml), outcome.settings); });
    CheckNul(settingsXml, texts.pargen, outcome);
    CheckSettings(outcome.settings);

    XmlDocument rowsXml;
    outcome.Read([&] { LoadDNetNetwork(*Open(kDNetNetFileName, texts.network, onDisk, rowsXml), outcome.rows); });
    CheckNul(rowsXml, texts.network, outcome);
    CheckRows(outcome.rows);

    // The byte editor reads both documents into one document object, the second load replacing the first tree.
    XmlDocument xml;
    outcome.Read(
        [&] { ReadDNetNodes(*Open(kDNetNetFileName, texts.network, onDisk, xml), outcome.table, outcome.nodesRead); });
    if (outcome.nodesRead > outcome.table.size()) std::abort();
    outcome.Read([&] { ReadDefBytes(*Open(kDefByteFileName, texts.bytes, onDisk, xml), outcome.table); });
    if (!outcome.table.empty() && texts.bytes) CheckNul(xml, texts.bytes, outcome);  // else nothing loaded it
    CheckTable(outcome.table);
    for (const DN_Nodo& node : outcome.table) NodeItemText(node);
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FuzzTexts texts = SplitFuzzProject(data, size);
    const Outcome fromMemory = ReadAll(texts, false);
    if (AlsoThroughFiles(size)) {
        WriteFuzzProject(texts);
        if (!(ReadAll(texts, true) == fromMemory)) std::abort();
    }
    return 0;
}
