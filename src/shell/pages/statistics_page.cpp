#include "shell/pages/statistics_page.h"

#include "codecs/statistics.h"
#include "codecs/tables.h"
#include "shell/field_editor.h"
#include "shell/pages/widgets.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qb {
namespace {

// The boxes in the order of the page: batting figures, bowling figures, rates, best bowling.
struct FigureBox {
    Figure figure;
    const char* name;
};
constexpr std::array<FigureBox, 15> kPageBoxes = {{
    {Figure::Innings, "txtInnings"},
    {Figure::NotOuts, "txtNotOuts"},
    {Figure::BattingRuns, "txtBattingRuns"},
    {Figure::HighestScore, "txtHigestScore"},
    {Figure::BattingAverage, "txtBattingAverage"},
    {Figure::Hundreds, "txt100s"},
    {Figure::Fifties, "txt50s"},
    {Figure::Overs, "txtOvers"},
    {Figure::BowlingRuns, "txtBowlingRuns"},
    {Figure::Wickets, "txtWickets"},
    {Figure::BowlingAverage, "txtBowlingAverage"},
    {Figure::StrikeRate, "txtBowlingSR"},
    {Figure::EconomyRate, "txtBowlingER"},
    {Figure::BestBowlingRuns, "txtBestBowling"},
    {Figure::BestBowlingWickets, "txtBestBowlingWickets"},
}};

QLineEdit*& boxOf(std::array<QLineEdit*, 15>& boxes, Figure figure) {
    return boxes[static_cast<std::size_t>(figure)];
}

} // namespace

StatisticsPage::StatisticsPage(int tab, QWidget* parent) : Page(tab, parent) {
    auto* layout = new QVBoxLayout(this);
    formatList_ = choiceList(this, QStringLiteral("cboStatisticsMode"));
    layout->addWidget(formatList_);
    auto* grid = new QGridLayout();
    layout->addLayout(grid);
    auto* best = named(new QGroupBox(QStringLiteral("Best Bowling"), this),
                       QStringLiteral("fraBestBowling"));
    auto* bestForm = new QFormLayout(best);
    bestForm->setContentsMargins(6, 2, 4, 2);
    // Batting figures on the left, bowling figures and the best bowling on the right,
    // the two rates across the page below them.
    int battingRow = 0;
    int bowlingRow = 0;
    int rateRow = 7;
    for (const auto& [figure, name] : kPageBoxes) {
        // The sheet holds the figures of the format on screen: each format's field of a
        // figure keeps them in the same place.
        const Field& shown = statisticsField(0, figure);
        auto* edit =
            named(static_cast<QLineEdit*>(createFieldEditor(shown, EditorPlace::Page, this)),
                  QString::fromLatin1(name));
        boxOf(boxes_, figure) = edit;
        auto* label = new QLabel(captionOf(shown), this);
        label->setBuddy(edit);
        const bool bestBowling =
            figure == Figure::BestBowlingRuns || figure == Figure::BestBowlingWickets;
        const bool batting = figure <= Figure::Fifties;
        edit->setFixedWidth(twips(0, 0, 750, 0).width());
        if (bestBowling) {
            bestForm->addRow(label, edit);
        } else if (shown.readOnly()) {
            grid->addWidget(label, rateRow, 0, 1, 3);
            grid->addWidget(edit, rateRow++, 3);
        } else if (batting) {
            grid->addWidget(label, battingRow, 0);
            grid->addWidget(edit, battingRow++, 1);
        } else {
            grid->addWidget(label, bowlingRow, 2);
            grid->addWidget(edit, bowlingRow++, 3);
        }
        bind(shown, edit);
    }
    grid->addWidget(best, bowlingRow, 2, 7 - bowlingRow, 2);
    layout->addStretch();
    for (const std::string_view format : kStatisticsFormats) {
        formatList_->addItem(qView(format));
    }
    formatList_->setCurrentIndex(-1);
    for (const Figure source : {Figure::Overs, Figure::Wickets, Figure::BowlingRuns}) {
        connect(boxOf(boxes_, source), &QLineEdit::textChanged, this,
                &StatisticsPage::refreshRates);
    }
    connect(formatList_, &QComboBox::activated, this, &StatisticsPage::formatChosen);
}

void StatisticsPage::showSheet(const PlayerSheet& sheet) {
    formatList_->setCurrentIndex(sheet.statisticsFormat);
    Page::showSheet(sheet);
    // The sheet's rates may predate an edit of the figures they follow.
    refreshRates();
}

bool StatisticsPage::holds(const std::string& key) const {
    const Field* field = findField(key);
    return field != nullptr && field->format >= 0;
}

const Field& StatisticsPage::fieldShown(const Field& bound, const PlayerSheet& sheet) const {
    for (const FigureBox& box : kPageBoxes) {
        if (sheet.statisticsFormat >= 0 && &statisticsField(0, box.figure) == &bound) {
            return statisticsField(sheet.statisticsFormat, box.figure);
        }
    }
    return bound;
}

void StatisticsPage::setFormat(int format) {
    formatList_->setCurrentIndex(format);
}

void StatisticsPage::focusFirstFigure() {
    QLineEdit* first = boxOf(boxes_, Figure::Innings);
    if (first->isVisible()) {
        first->setFocus();
    }
}

void StatisticsPage::refreshRates() {
    PlayerSheet figures;
    figures.overs = boxOf(boxes_, Figure::Overs)->text().toStdString();
    figures.wickets = boxOf(boxes_, Figure::Wickets)->text().toStdString();
    figures.bowlingRuns = boxOf(boxes_, Figure::BowlingRuns)->text().toStdString();
    updateRates(figures);
    boxOf(boxes_, Figure::StrikeRate)->setText(QString::fromStdString(figures.strikeRate));
    boxOf(boxes_, Figure::EconomyRate)->setText(QString::fromStdString(figures.economyRate));
}

} // namespace qb
