#include "shell/pages/ratings_page.h"

#include "codecs/ratings.h"
#include "shell/editors.h"
#include "shell/pages/widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace qb {

RatingsPage::RatingsPage(int tab, RatingTab ratings, QWidget* parent) : Page(tab, parent) {
    const std::vector<std::string_view> captions = ratingCaptions(ratings);
    const QLatin1String arrayName(ratings == RatingTab::Batting1  ? "sldBatting1"
                                  : ratings == RatingTab::Bowling ? "sldBowling"
                                                                  : "sldFielding");
    // Fielding stands in two frames, Fielding and Miscellaneous; the others in one grid.
    const bool framed = ratings == RatingTab::Fielding;
    auto* outer = new QVBoxLayout(this);
    QGridLayout* grid = nullptr;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int index = static_cast<int>(i);
        if (grid == nullptr || (framed && index == kFirstMiscellaneousRating)) {
            grid = new QGridLayout();
            if (framed) {
                const bool misc = index == kFirstMiscellaneousRating;
                auto* frame = named(new QGroupBox(misc ? QStringLiteral("Miscellaneous")
                                                       : QStringLiteral("Fielding"),
                                                  this),
                                    QStringLiteral("Frame6_%1").arg(misc ? 1 : 0));
                outer->addWidget(frame);
                frame->setLayout(grid);
            } else {
                outer->addLayout(grid);
            }
        }
        auto* slider =
            named(new RatingSlider(this), QStringLiteral("%1_%2").arg(arrayName).arg(index));
        grid->addWidget(new QLabel(qView(captions[i]), this), index, 0);
        grid->addWidget(slider, index, 1);
        bind(slider, [ratings, index](PlayerSheet& s) { return &ratingSlider(s, ratings, index); });
    }
    outer->addStretch();
}

} // namespace qb
