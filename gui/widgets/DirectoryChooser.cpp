#include "DirectoryChooser.h"

#include "DirectoryEdit.h"
#include "LanguageTable.h"
#include "OkCancelButtons.h"

#include <QVBoxLayout>

namespace pitwall::gui {

namespace {

constexpr TextBinding kDirectoryTexts[] = {
    {"", TextRole::Caption, 1135},
    {"BitBtn1", TextRole::Caption, 203},
    {"BitBtn2", TextRole::Caption, 204},
};

} // namespace

DirectoryChooser::DirectoryChooser(const UITexts& texts, QWidget* parent) : QDialog(parent)
{
    setObjectName("TForm8");
    setWindowTitle("Bitte wählen Sie ein Verzeichnis");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    edit_ = new DirectoryEdit(this);
    edit_->setObjectName("DirectoryEdit1");
    layout->addWidget(edit_);
    layout->addLayout(AddOkCancel(this));
    ApplyTexts(this, kDirectoryTexts, texts);
    connect(this, &QDialog::rejected, this, [this] { edit_->setText(QString()); });
    resize(420, 100);
}

QString DirectoryChooser::directory() const { return edit_->text(); }
void DirectoryChooser::setDirectory(const QString& directory) { edit_->setText(directory); }

} // namespace pitwall::gui
