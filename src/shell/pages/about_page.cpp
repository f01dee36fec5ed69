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
    aboutText_ = named(new QLabel(this), QStringLiteral("lblAbout"));
    aboutText_->setGeometry(twips(480, 120, 3375, 1695));
    aboutText_->setWordWrap(true);
    aboutText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    aboutText_->setStyleSheet(QStringLiteral(
        "background: black; color: rgb(0, 255, 0); font-weight: bold; padding: 2px;"));
    logo_ = named(new QLabel(this), QStringLiteral("imgCragmoor"));
    logo_->setGeometry(twips(1155, 2040, 1980, 1845));
    logo_->setPixmap(siteLogo());
    logo_->setCursor(Qt::PointingHandCursor);
    webLink_ = named(new QLabel(QStringLiteral("My Website"), this), QStringLiteral("lblWeb"));
    webLink_->setGeometry(twips(1200, 4200, 1900, 400));
    QFont font = webLink_->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    font.setUnderline(true);
    webLink_->setFont(font);
    webLink_->setAlignment(Qt::AlignCenter);
    webLink_->setCursor(Qt::PointingHandCursor);
    logo_->installEventFilter(this);
    webLink_->installEventFilter(this);
    aboutTimer_ = named(new QTimer(this), QStringLiteral("tmrAbout"));
    aboutTimer_->setInterval(200);
    connect(aboutTimer_, &QTimer::timeout, this, &AboutPage::tick);
}

QString AboutPage::notice() {
    return QStringLiteral(
        "Before changing make sure that you have backed up the original file.\r\n\r\n"
        "Thanks to Mira Okafor and Tom Brennan for helping to create the editor.");
}

void AboutPage::setAnimating(bool on) {
    if (on) {
        aboutTimer_->start();
    } else {
        aboutTimer_->stop();
    }
}

void AboutPage::tick() {
    if (webColour_ > 240) {
        webColour_ = 0;
    }
    webColour_ += 15;
    QPalette palette = webLink_->palette();
    palette.setColor(QPalette::WindowText, QColor(webColour_, 0, 255 - webColour_));
    webLink_->setPalette(palette);
    const QString text = notice();
    qsizetype n = aboutText_->text().size();
    if (n > text.size()) {
        n = 0;
    }
    aboutText_->setText(text.left(n) + QLatin1Char('_'));
}

bool AboutPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        QDesktopServices::openUrl(
            QUrl(QString::fromLatin1(watched == logo_ ? kSiteHome : kAuthorPage)));
        return true;
    }
    return Page::eventFilter(watched, event);
}

} // namespace qb
