#pragma once

#include "codecs/statistics.h"
#include "shell/pages/page.h"

class QComboBox;
class QLineEdit;

namespace qb {

// Statistics: the format on screen and its figures; the two rates follow the overs,
// wickets and bowling runs as they are typed.
class StatisticsPage : public Page {
    Q_OBJECT

public:
    StatisticsPage(int tab, QWidget* parent);

    void showSheet(const PlayerSheet& sheet) override;
    // Puts the format list back on a format the page could not leave.
    void setFormat(int format);
    // The first figure takes the focus once the page is on screen.
    void focusFirstFigure();

signals:
    void formatChosen(int format);

protected:
    // A box shows the figure of the format on screen.
    const Field& fieldShown(const Field& bound, const PlayerSheet& sheet) const override;
    // The figures of every format are edited here.
    bool holds(const std::string& key) const override;

private:
    void refreshRates();
    // The box of a figure, which shows it in every format.
    QLineEdit* box(Figure figure) const;

    QComboBox* formatList_;
};

} // namespace qb
