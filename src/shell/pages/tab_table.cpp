#include "shell/pages/tab_table.h"

#include "shell/pages/about_page.h"
#include "shell/pages/flags_page.h"
#include "shell/pages/personal_page.h"
#include "shell/pages/ratings_page.h"
#include "shell/pages/roles_page.h"
#include "shell/pages/slot_list_page.h"
#include "shell/pages/statistics_page.h"

namespace qb {
namespace {

template <typename PageClass> Page* make(const PagePlace& place) {
    return new PageClass(place.tab, place.parent);
}

template <RatingTab ratings> Page* makeRatings(const PagePlace& place) {
    return new RatingsPage(place.tab, ratings, place.parent);
}

// Access keys are distinct from the menus' (F, D, P, V), the top row's (N, S, O) and
// every caption of the pages, so Alt and the letter always reaches its one target.
// The letters of the captions do not reach far enough for every tab: More has none
// (Ctrl+Tab from About reaches it). scripts/check-shortcuts reads the captions here.
constexpr TabRow kTabs[] = {
    {"Pe&rsonal", make<PersonalPage>},
    {"&Basic", make<RolesPage>},
    {"B&atting 1", makeRatings<RatingTab::Batting>},
    {"Batting &2",
     [](const PagePlace& place) -> Page* { return FlagsPage::batting2(place.tab, place.parent); }},
    {"Bo&wling", makeRatings<RatingTab::Bowling>},
    {"Fieldin&g", makeRatings<RatingTab::Fielding>},
    {"S&kills",
     [](const PagePlace& place) -> Page* { return FlagsPage::skills(place.tab, place.parent); }},
    {"Statisti&cs", make<StatisticsPage>},
    {"Abo&ut", make<AboutPage>},
    {"More",
     [](const PagePlace& place) -> Page* {
         return new SlotListPage(place.tab, place.index, place.parent);
     }},
};

} // namespace

std::span<const TabRow> tabTable() {
    return kTabs;
}

} // namespace qb
