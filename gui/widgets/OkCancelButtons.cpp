#include "OkCancelButtons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace pitwall::gui {

QHBoxLayout* AddOkCancel(QDialog* dialog)
{
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton("OK", dialog);
    ok->setObjectName("BitBtn1");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Abbrechen", dialog);
    cancel->setObjectName("BitBtn2");
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}

} // namespace pitwall::gui
