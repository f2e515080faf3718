#include "TextEditDialog.h"

#include "OkCancelButtons.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace pitwall::gui {

TextEditDialog::TextEditDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("TForm3");
    setWindowTitle("Text ändern");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("Diese Zeichen sollten möglichst unverändert geladen werden:", this);
    label->setObjectName("Label1");
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName("Memo1");
    layout->addWidget(label);
    layout->addWidget(memo_);
    layout->addLayout(AddOkCancel(this));
    resize(420, 260);
}

} // namespace pitwall::gui
