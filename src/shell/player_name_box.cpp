#include "shell/player_name_box.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <utility>

namespace qb {

PlayerNameBox::PlayerNameBox(QComboBox* list, std::function<const RosterIndex&()> index)
    : QObject(list), list_(list), index_(std::move(index)) {
    connect(list_, &QComboBox::currentIndexChanged, this, [this](int entry) {
        if (!quiet_ && entry >= 0) {
            emit chosen(entry);
        }
    });
    // Choosing the entry that is already selected changes no index; it reloads the
    // player from the file all the same, dropping the edits (a revert).
    connect(list_, &QComboBox::activated, this, [this](int entry) {
        if (entry == entryAtPopup_) {
            emit reloadRequested(entry);
        }
        entryAtPopup_ = -1;
    });
    connect(list_->lineEdit(), &QLineEdit::textEdited, this, [this] { typedInName_ = true; });
    qApp->installEventFilter(this);
}

PlayerNameBox::~PlayerNameBox() {
    qApp->removeEventFilter(this);
}

int PlayerNameBox::current() const {
    return list_->currentIndex();
}

int PlayerNameBox::count() const {
    return list_->count();
}

QString PlayerNameBox::name(int entry) const {
    return list_->itemText(entry);
}

void PlayerNameBox::showNames(const QStringList& names, qsizetype listed) {
    quiet_ = true;
    list_->clear();
    list_->addItems(names.first(listed));
    list_->setCurrentIndex(-1);
    quiet_ = false;
    markedSlots_.clear();
}

void PlayerNameBox::showName(int slot, const QString& name) {
    if (slot < list_->count()) {
        quiet_ = true;
        list_->setItemText(slot, name);
        quiet_ = false;
    }
}

void PlayerNameBox::selectQuietly(int slot) {
    quiet_ = true;
    list_->setCurrentIndex(slot < list_->count() ? slot : -1);
    quiet_ = false;
}

void PlayerNameBox::select(int entry) {
    list_->setCurrentIndex(entry);
}

void PlayerNameBox::markUnsaved(const std::vector<int>& pending) {
    // Only the entries whose state changed are marked again.
    const std::set<int> unsaved(pending.begin(), pending.end());
    const QIcon mark = list_->style()->standardIcon(QStyle::SP_FileIcon);
    const auto setMark = [this](int slot, const QVariant& shown) {
        if (slot < list_->count()) {
            list_->setItemData(slot, shown, Qt::DecorationRole);
        }
    };
    for (const int slot : markedSlots_) {
        if (!unsaved.contains(slot)) {
            setMark(slot, {});
        }
    }
    for (const int slot : unsaved) {
        if (!markedSlots_.contains(slot)) {
            setMark(slot, mark);
        }
    }
    markedSlots_ = unsaved;
}

void PlayerNameBox::searchAsTyped(const QKeyEvent& key) {
    QLineEdit* edit = list_->lineEdit();
    // Escape empties the box and leaves the player shown.
    if (key.key() == Qt::Key_Escape) {
        edit->clear();
        typedInName_ = false;
        return;
    }
    // Moving and deleting never complete. Nor does letting go of a key that typed nothing
    // (a modifier, a shortcut, a letter whose Ctrl was let go of first).
    if (key.key() == Qt::Key_Left || key.key() == Qt::Key_Right || key.key() == Qt::Key_Delete ||
        key.key() == Qt::Key_Backspace) {
        typedInName_ = false;
    }
    if (!std::exchange(typedInName_, false)) {
        return;
    }
    const QString typed = edit->text();
    // Typing only ever moves to another player: it never reloads the one shown (a
    // prefix of its own name is typed on the way to another's), so its edits stay pending
    // as when another player is chosen from the list.
    const int found = findPlayerWithPrefix(index_(), typed.toStdString());
    if (found >= 0 && found != list_->currentIndex()) {
        selectQuietly(found);
        emit typedTo(found);
    }
    if (found >= 0) {
        edit->setText(list_->itemText(found));
    }
    edit->setSelection(static_cast<int>(typed.size()),
                       static_cast<int>(edit->text().size() - typed.size()));
}

bool PlayerNameBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched == list_->view()->window()) {
        entryAtPopup_ = list_->currentIndex();
    }
    // The keyboard's keys reach the list itself, its text box's focus proxy, which hands
    // them on without this filter seeing them again.
    if (event->type() == QEvent::KeyRelease && (watched == list_ || watched == list_->lineEdit())) {
        searchAsTyped(*static_cast<QKeyEvent*>(event));
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qb
