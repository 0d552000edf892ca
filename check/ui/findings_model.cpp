#include "check/ui/findings_model.h"

#include <QBrush>
#include <QColor>

#include "ui/read_only_table.h"

namespace tessara::check {

namespace {

const char* const kHeaders[FindingsModel::ColumnCount] = {"SEVERITY", "PLACE", "FINDING"};

// The parser's "Line: N" part comes with CR LF; a cell shows it as one line.
QString CellText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

}  // namespace

void FindingsModel::SetFindings(const std::vector<Finding>& findings) {
    beginResetModel();
    findings_ = findings;
    endResetModel();
}

int FindingsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(findings_.size());
}

int FindingsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FindingsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const Finding& finding = findings_[static_cast<size_t>(index.row())];
    if (role == Qt::ForegroundRole && index.column() == ColSeverity) {
        return QBrush(finding.severity == Severity::Error ? QColor(176, 32, 32) : QColor(154, 106, 0));
    }
    if (role == Qt::ToolTipRole && index.column() != ColSeverity) {
        return ui::CellToolTip(QString::fromStdString(index.column() == ColText ? finding.text : finding.place));
    }
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case ColSeverity:
            return QString::fromLatin1(SeverityName(finding.severity));
        case ColPlace:
            return QString::fromStdString(finding.place);
        default:
            return ui::CellLine(CellText(finding.text));
    }
}

QVariant FindingsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) return {};
    return QString::fromLatin1(kHeaders[section]);
}

}  // namespace tessara::check
