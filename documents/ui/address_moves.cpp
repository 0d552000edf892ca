#include "documents/ui/address_moves.h"

#include <exception>

#include "documents/def_byte.h"
#include "documents/xml_document.h"
#include "ui/message_display.h"

namespace tessara::documents {

namespace {

ExportMoves& Moves() {
    static ExportMoves moves;
    return moves;
}

}  // namespace

void SetExportMoves(ExportMoves moves) {
    Moves() = std::move(moves);
}

DefByteTable SavedByteTable(const std::string& dnetNetFile, const std::string& defByteFile) {
    DefByteTable table;
    size_t nodesRead = 0;
    try {
        XmlDocument xml;
        ReadDNetNodes(xml, dnetNetFile, table, nodesRead);
        ReadDefBytes(xml, defByteFile, table);
    } catch (const std::exception&) {
        return {};
    }
    return table;
}

bool MaySaveMovingExportedAddresses(QWidget* parent, const std::vector<NodeIo>& savedNodes, ProfibusAreas savedAreas,
                                    const std::vector<NodeIo>& nodes, ProfibusAreas areas,
                                    const std::vector<TypedTag>* tags) {
    if (!Moves()) return true;
    const std::string moved = Moves()(nodes, areas, tags);
    if (moved.empty() || moved == Moves()(savedNodes, savedAreas, nullptr)) return true;
    return ui::Messages().AskYesNoDefaultYes(
        parent,
        QStringLiteral("Saving this change moves PLC addresses: %1.\n\nSave it? The tags are then to be exported "
                       "again for the PLC.")
            .arg(QString::fromStdString(moved)),
        QString());
}

}  // namespace tessara::documents
