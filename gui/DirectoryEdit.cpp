#include "DirectoryEdit.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace pitwall::gui {

DirectoryEdit::DirectoryEdit(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    edit_ = new QLineEdit(this);
    auto* browse = new QToolButton(this);
    browse->setText("...");
    layout->addWidget(edit_);
    layout->addWidget(browse);
    connect(browse, &QToolButton::clicked, this, [this] {
        QString dir = QFileDialog::getExistingDirectory(this, QString(), edit_->text());
        if (!dir.isEmpty())
            edit_->setText(dir);
    });
}

QString DirectoryEdit::text() const { return edit_->text(); }
void DirectoryEdit::setText(const QString& text) { edit_->setText(text); }

} // namespace pitwall::gui
