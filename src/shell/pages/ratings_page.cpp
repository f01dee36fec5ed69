#include "shell/pages/ratings_page.h"

#include "shell/field_editor.h"
#include "shell/pages/widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QSlider>
#include <QVBoxLayout>

namespace qb {

RatingsPage::RatingsPage(int tab, RatingTab ratings, QWidget* parent) : Page(tab, parent) {
    const QLatin1String arrayName(ratings == RatingTab::Batting   ? "sldBatting1"
                                  : ratings == RatingTab::Bowling ? "sldBowling"
                                                                  : "sldFielding");
    const std::string prefix = "ratings." + std::string(ratingTabKey(ratings)) + ".";
    // Fielding stands in two frames, Fielding and Miscellaneous; the others in one grid.
    const bool framed = ratings == RatingTab::Fielding;
    auto* outer = new QVBoxLayout(this);
    QGridLayout* grid = nullptr;
    int index = 0;
    for (const Field* rating : fieldsOf(FieldGroup::Ratings)) {
        if (!rating->key.starts_with(prefix)) {
            continue;
        }
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
            named(static_cast<QSlider*>(createFieldEditor(*rating, EditorPlace::Page, this)),
                  QStringLiteral("%1_%2").arg(arrayName).arg(index));
        grid->addWidget(caption(this, captionOf(*rating), slider), index, 0);
        grid->addWidget(slider, index, 1);
        // The value as a number beside its slider, so ratings compare at a glance.
        auto* value = named(new QLabel(this), slider->objectName() + QStringLiteral("_value"));
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("63")));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(slider, &QSlider::valueChanged, value, qOverload<int>(&QLabel::setNum));
        value->setNum(slider->value());
        grid->addWidget(value, index, 2);
        bind(*rating, slider);
        ++index;
    }
    outer->addStretch();
}

} // namespace qb
