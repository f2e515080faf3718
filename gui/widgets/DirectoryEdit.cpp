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
    connect(edit_, &QLineEdit::textChanged, this, &DirectoryEdit::textChanged);
    connect(browse, &QToolButton::clicked, this, [this] {
        QString dir = QFileDialog::getExistingDirectory(this, QString(), text());
        if (!dir.isEmpty())
            edit_->setText(dir);
    });
}

// A path pasted from a shell or a file manager often comes in quotes: the
// folder is the path inside them.
QString DirectoryEdit::text() const
{
    QString t = edit_->text().trimmed();
    if (t.size() >= 2 && (t.front() == '"' || t.front() == '\'') && t.back() == t.front())
        t = t.mid(1, t.size() - 2).trimmed();
    return t;
}
void DirectoryEdit::setText(const QString& text) { edit_->setText(text); }

} // namespace pitwall::gui
