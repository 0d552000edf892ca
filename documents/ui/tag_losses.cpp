#include "documents/ui/tag_losses.h"

#include <QString>

#include "plc/tag_losses.h"
#include "ui/message_display.h"

namespace tessara::documents {

namespace {

constexpr size_t kNamedInQuestion = 5;

}  // namespace

bool MaySaveDroppingBrokenTags(QWidget* parent, const std::vector<NodeIo>& savedNodes,
                               const std::vector<TypedTag>& savedTags, const std::vector<NodeIo>& nodes,
                               std::vector<TypedTag>& tags) {
    const std::vector<plc::TagLoss> losses = plc::TagLosses(savedNodes, savedTags, nodes, tags);
    if (losses.empty()) return true;
    QString named;
    QString details;
    for (size_t i = 0; i < losses.size(); ++i) {
        const QString text = QString::fromStdString(losses[i].text);
        details += text + QLatin1Char('\n');
        if (i < kNamedInQuestion) named += (i > 0 ? QStringLiteral("; ") : QString()) + text;
    }
    // The details list every tag only where the question cannot name them all.
    if (losses.size() > kNamedInQuestion) {
        named += QStringLiteral("; and %1 more").arg(losses.size() - kNamedInQuestion);
    } else {
        details.clear();
    }
    const bool one = losses.size() == 1;
    const QString question = QStringLiteral("%1 typed %2 bytes: %3.\n\nRemove %4 and save?")
                                 .arg(losses.size())
                                 .arg(one ? QStringLiteral("tag loses") : QStringLiteral("tags lose"), named,
                                      one ? QStringLiteral("this tag") : QStringLiteral("these tags"));
    if (!ui::Messages().AskYesNoWithDetails(parent, question, details)) return false;
    for (auto loss = losses.rbegin(); loss != losses.rend(); ++loss) {
        tags.erase(tags.begin() + static_cast<std::ptrdiff_t>(loss->index));
    }
    return true;
}

}  // namespace tessara::documents
