#include "UITextViewer.h"

#include "QtMessages.h"
#include "base/UITexts.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace pitwall::gui {

UITextViewer::UITextViewer(QWidget* parent) : QDialog(parent)
{
    setObjectName("TForm22");
    setWindowTitle("Strings");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName("ListBox1");
    number_ = new QLabel("-", this);
    number_->setObjectName("Label1");
    layout->addWidget(list_);
    layout->addWidget(number_);
    resize(520, 520);
    connect(list_, &QListWidget::currentRowChanged, this,
            [this](int row) { number_->setText(row < 0 ? QString("-") : QString::number(row)); });
}

void UITextViewer::fill(const UITexts& texts)
{
    list_->clear();
    for (const auto& t : texts.all())
        list_->addItem(FromGameText(t).replace('\n', " | "));
}

} // namespace pitwall::gui
