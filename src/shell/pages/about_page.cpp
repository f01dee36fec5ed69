#include "shell/pages/about_page.h"

#include "shell/artwork.h"
#include "shell/pages/widgets.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QUrl>

namespace qb {
namespace {

constexpr const char* kSiteHome = "https://cragmoor.example.org/";
constexpr const char* kAuthorPage = "https://cragmoor.example.org/quillbay/";

} // namespace

AboutPage::AboutPage(int tab, QWidget* parent) : Page(tab, parent) {
    lblAbout = named(new QLabel(this), QStringLiteral("lblAbout"));
    lblAbout->setGeometry(twips(480, 120, 3375, 1695));
    lblAbout->setWordWrap(true);
    lblAbout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblAbout->setStyleSheet(QStringLiteral(
        "background: black; color: rgb(0, 255, 0); font-weight: bold; padding: 2px;"));
    imgCragmoor = named(new QLabel(this), QStringLiteral("imgCragmoor"));
    imgCragmoor->setGeometry(twips(1155, 2040, 1980, 1845));
    imgCragmoor->setPixmap(siteLogo());
    imgCragmoor->setCursor(Qt::PointingHandCursor);
    lblWeb = named(new QLabel(QStringLiteral("My Website"), this), QStringLiteral("lblWeb"));
    lblWeb->setGeometry(twips(1200, 4200, 1900, 400));
    QFont font = lblWeb->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    font.setUnderline(true);
    lblWeb->setFont(font);
    lblWeb->setAlignment(Qt::AlignCenter);
    lblWeb->setCursor(Qt::PointingHandCursor);
    imgCragmoor->installEventFilter(this);
    lblWeb->installEventFilter(this);
    tmrAbout = named(new QTimer(this), QStringLiteral("tmrAbout"));
    tmrAbout->setInterval(200);
    connect(tmrAbout, &QTimer::timeout, this, &AboutPage::tick);
}

QString AboutPage::notice() {
    return QStringLiteral(
        "Before changing make sure that you have backed up the original file.\r\n\r\n"
        "Thanks to Mira Okafor and Tom Brennan for helping to create the editor.");
}

void AboutPage::setAnimating(bool on) {
    if (on) {
        tmrAbout->start();
    } else {
        tmrAbout->stop();
    }
}

void AboutPage::tick() {
    if (webColour_ > 240) {
        webColour_ = 0;
    }
    webColour_ += 15;
    QPalette palette = lblWeb->palette();
    palette.setColor(QPalette::WindowText, QColor(webColour_, 0, 255 - webColour_));
    lblWeb->setPalette(palette);
    const QString text = notice();
    qsizetype n = lblAbout->text().size();
    if (n > text.size()) {
        n = 0;
    }
    lblAbout->setText(text.left(n) + QLatin1Char('_'));
}

bool AboutPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        QDesktopServices::openUrl(
            QUrl(QString::fromLatin1(watched == imgCragmoor ? kSiteHome : kAuthorPage)));
        return true;
    }
    return Page::eventFilter(watched, event);
}

} // namespace qb
