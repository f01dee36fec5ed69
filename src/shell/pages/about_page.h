#pragma once

#include "shell/pages/page.h"

class QLabel;
class QTimer;

namespace qb {

// About: the notice typed out letter by letter and a link whose colour cycles, both
// moved by a timer that runs while the page is on screen.
class AboutPage : public Page {
    Q_OBJECT

public:
    AboutPage(int tab, QWidget* parent);

    static QString notice();
    void setAnimating(bool on);
    // One step of the timer.
    void tick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* aboutText_;
    QLabel* logo_;
    QLabel* webLink_;
    QTimer* aboutTimer_;
    int webColour_ = 0;
};

} // namespace qb
