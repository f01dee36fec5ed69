#pragma once

#include "codecs/player_sheet.h"
#include "player/field_registry.h"

#include <QWidget>
#include <functional>
#include <vector>

namespace qb {

// One tab of the window: a panel named picPicture_<tab> whose editors are bound to
// cells of the player sheet. Showing puts each cell into its editor; reading puts each
// editor's value back: a list's index, a slider's value, a box's state or a text.
class Page : public QWidget {
    Q_OBJECT

public:
    Page(int tab, QWidget* parent);

    virtual void showSheet(const PlayerSheet& sheet);
    virtual void readSheet(PlayerSheet& sheet) const;

protected:
    using Cell = std::function<SheetCell(PlayerSheet&)>;
    void bind(QWidget* editor, Cell cell);

private:
    struct Binding {
        QWidget* editor;
        Cell cell;
    };
    std::vector<Binding> bindings_;
};

} // namespace qb
