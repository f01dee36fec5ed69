#include "shell/pages/statistics_page.h"

#include "codecs/statistics.h"
#include "codecs/tables.h"
#include "shell/pages/field_layout.h"
#include "shell/pages/widgets.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qb {

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
    constexpr int kFirstRateRow = 7;
    int battingRow = 0;
    int bowlingRow = 0;
    int rateRow = kFirstRateRow;
    for (const FieldPlace& place : fieldPlaces(LaidOutPage::Statistics)) {
        // The sheet holds the figures of the format on screen: each format's field of a
        // figure keeps them in the same place.
        const Field& shown = place.field();
        QWidget* edit = addEditor(shown, this, place.name);
        QLabel* label = caption(this, captionOf(shown), edit);
        edit->setFixedWidth(twips(0, 0, 750, 0).width());
        switch (place.display) {
        case Display::BestBowling:
            bestForm->addRow(label, edit);
            break;
        case Display::AcrossRow:
            grid->addWidget(label, rateRow, 0, 1, 3);
            grid->addWidget(edit, rateRow++, 3);
            break;
        case Display::LeftColumn:
            grid->addWidget(label, battingRow, 0);
            grid->addWidget(edit, battingRow++, 1);
            break;
        default:
            grid->addWidget(label, bowlingRow, 2);
            grid->addWidget(edit, bowlingRow++, 3);
        }
    }
    grid->addWidget(best, bowlingRow, 2, kFirstRateRow - bowlingRow, 2);
    layout->addStretch();
    for (const std::string_view format : kStatisticsFormats) {
        formatList_->addItem(qView(format));
    }
    formatList_->setCurrentIndex(-1);
    for (const Figure source : {Figure::Overs, Figure::Wickets, Figure::BowlingRuns}) {
        connect(box(source), &QLineEdit::textChanged, this, &StatisticsPage::refreshRates);
    }
    connect(formatList_, &QComboBox::activated, this, &StatisticsPage::formatChosen);
}

QLineEdit* StatisticsPage::box(Figure figure) const {
    return editorOf<QLineEdit>(statisticsField(0, figure).key);
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
    for (const StatisticsBox& figure : kStatisticsBoxes) {
        if (sheet.statisticsFormat >= 0 && &statisticsField(0, figure.figure) == &bound) {
            return statisticsField(sheet.statisticsFormat, figure.figure);
        }
    }
    return bound;
}

void StatisticsPage::setFormat(int format) {
    formatList_->setCurrentIndex(format);
}

void StatisticsPage::focusFirstFigure() {
    QLineEdit* first = box(Figure::Innings);
    if (first->isVisible()) {
        first->setFocus();
    }
}

void StatisticsPage::refreshRates() {
    PlayerSheet figures;
    figures.overs = box(Figure::Overs)->text().toStdString();
    figures.wickets = box(Figure::Wickets)->text().toStdString();
    figures.bowlingRuns = box(Figure::BowlingRuns)->text().toStdString();
    updateRates(figures);
    box(Figure::StrikeRate)->setText(QString::fromStdString(figures.strikeRate));
    box(Figure::EconomyRate)->setText(QString::fromStdString(figures.economyRate));
}

} // namespace qb
