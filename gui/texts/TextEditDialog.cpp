#include "TextEditDialog.h"

#include "GameTextGuard.h"
#include "LanguageTable.h"
#include "OkCancelButtons.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {

constexpr TextBinding kTextEditTexts[] = {
    {"", TextRole::Caption, 202},
    {"Label1", TextRole::Caption, 373},
    {"BitBtn1", TextRole::Caption, 203},
    {"BitBtn2", TextRole::Caption, 204},
};

} // namespace

TextEditDialog::TextEditDialog(const UITexts& texts, QWidget* parent) : QDialog(parent)
{
    setObjectName("TForm3");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(this);
    label->setObjectName("Label1");
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName("Memo1");
    GuardGameText(memo_, texts);
    layout->addWidget(label);
    layout->addWidget(memo_);
    layout->addLayout(AddOkCancel(this));
    ApplyTexts(this, kTextEditTexts, texts);
    resize(420, 260);
}

} // namespace pitwall::gui
