#include "shell/compare/patch_preview.h"

#include "shell/edit_command.h"
#include "shell/grid/roster_grid_model.h"

#include <QStringList>

namespace qb {
namespace {

// The players listed by name; the rest are counted.
constexpr int kListedPlayers = 20;

} // namespace

QString patchPreview(const RosterDocument& document, const std::vector<Edit>& edits,
                     const std::vector<int>& unmatchedIds) {
    QStringList lines;
    int players = 0;
    for (std::size_t at = 0; at < edits.size();) {
        const int slot = edits[at].slot;
        QStringList fields;
        for (; at < edits.size() && edits[at].slot == slot; ++at) {
            // Titles that name their tab, format or foot: a list of many fields holds
            // two Accuracy ratings.
            fields << editText(edits[at], columnTitle(*edits[at].field));
        }
        if (++players > kListedPlayers) {
            continue;
        }
        const std::string name =
            document.index().slotEntries[static_cast<std::size_t>(slot)].name();
        lines << QStringLiteral("%1 (slot %2): %3")
                     .arg(QString::fromStdString(name))
                     .arg(slot)
                     .arg(fields.join(QStringLiteral(", ")));
    }
    QString text =
        edits.empty()
            ? QStringLiteral("The file changes no player of this roster.")
            : QStringLiteral("%1 %2, %3 %4:\n")
                      .arg(players)
                      .arg(players == 1 ? QStringLiteral("player") : QStringLiteral("players"))
                      .arg(edits.size())
                      .arg(edits.size() == 1 ? QStringLiteral("field") : QStringLiteral("fields")) +
                  lines.join(u'\n');
    if (players > kListedPlayers) {
        text += QStringLiteral("\nand %1 more players").arg(players - kListedPlayers);
    }
    if (!unmatchedIds.empty()) {
        QStringList ids;
        for (const int id : unmatchedIds) {
            ids << QString::number(id);
        }
        text += QStringLiteral("\n\nNo player of this roster has ID %1.")
                    .arg(ids.join(QStringLiteral(", ")));
    }
    return text;
}

} // namespace qb
