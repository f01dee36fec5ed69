#include "shell/pages/roles_page.h"

#include "shell/pages/widgets.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace qb {

RolesPage::RolesPage(int tab, QWidget* parent) : Page(tab, parent) {
    // A frame per role; a field stands in the frame its key's last part starts with
    // (the bowling style in Bowling).
    auto* layout = new QVBoxLayout(this);
    const std::vector<const Field*> roles = fieldsOf(FieldGroup::Roles);
    for (const QString& title :
         {QStringLiteral("Batting"), QStringLiteral("Bowling"), QStringLiteral("Fielding")}) {
        auto* box = new QGroupBox(title, this);
        auto* form = new QFormLayout(box);
        const std::string prefix = "roles." + title.toLower().toStdString();
        for (const Field* role : roles) {
            if (role->key.starts_with(prefix)) {
                QWidget* list = addEditor(*role, box);
                form->addRow(caption(box, captionOf(*role), list), list);
            }
        }
        layout->addWidget(box);
    }
    layout->addStretch();
}

} // namespace qb
