#pragma once

#include <QObject>

class QComboBox;

namespace qb {

// The extended interface of a drop-down list: Down opens it, and neither F4 nor Alt
// with an arrow does. Watches the list and, when it is editable, its text box.
class ListOpener : public QObject {
    Q_OBJECT

public:
    explicit ListOpener(QComboBox* list);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* list_;
};

} // namespace qb
