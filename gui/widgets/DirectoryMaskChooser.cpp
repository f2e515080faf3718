#include "DirectoryMaskChooser.h"

#include "DirectoryEdit.h"
#include "LanguageTable.h"
#include "OkCancelButtons.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pitwall::gui {

namespace {

constexpr TextBinding kDirectoryMaskTexts[] = {
    {"", TextRole::Caption, 1135},      {"Label3", TextRole::Caption, 953},  {"Label1", TextRole::Caption, 954},
    {"Label2", TextRole::Caption, 955}, {"BitBtn1", TextRole::Caption, 203}, {"BitBtn2", TextRole::Caption, 204},
};

} // namespace

DirectoryMaskChooser::DirectoryMaskChooser(const UITexts& texts, QWidget* parent) : QDialog(parent)
{
    setObjectName("TForm26");
    setWindowTitle("Bitte wählen Sie ein Verzeichnis");
    setModal(true);
    auto* grid = new QGridLayout(this);
    auto* dirLabel = new QLabel("Verzeichnis:", this);
    dirLabel->setObjectName("Label3");
    directory_ = new DirectoryEdit(this);
    directory_->setObjectName("DirectoryEdit1");
    auto* maskLabel = new QLabel("Dateinamen:", this);
    maskLabel->setObjectName("Label1");
    mask_ = new QLineEdit(this);
    mask_->setObjectName("Edit1");
    auto* help = new QLabel("Die Bilder werden unter Namen aus der Maske gespeichert; \"*\" wird durch eine laufende "
                            "Nummer ersetzt (Menu*.BMP ergibt Menu1.BMP, Menu2.BMP usw.).",
                            this);
    help->setObjectName("Label2");
    help->setWordWrap(true);
    grid->addWidget(dirLabel, 0, 0);
    grid->addWidget(directory_, 0, 1);
    grid->addWidget(maskLabel, 1, 0);
    grid->addWidget(mask_, 1, 1);
    grid->addWidget(help, 2, 0, 1, 2);
    grid->addLayout(AddOkCancel(this), 3, 0, 1, 2);
    ApplyTexts(this, kDirectoryMaskTexts, texts);
    // Without a folder the pictures would go to (or come from) wherever the
    // program happens to run; without a mask there are no names.
    auto* ok = findChild<QPushButton*>("BitBtn1");
    auto update = [this, ok] { ok->setEnabled(complete()); };
    connect(directory_, &DirectoryEdit::textChanged, this, update);
    connect(mask_, &QLineEdit::textChanged, this, update);
    update();
    resize(440, 180);
}

bool DirectoryMaskChooser::complete() const { return !directory().isEmpty() && !mask().trimmed().isEmpty(); }

void DirectoryMaskChooser::accept()
{
    if (complete())
        QDialog::accept();
}

QString DirectoryMaskChooser::directory() const { return directory_->text(); }
QString DirectoryMaskChooser::mask() const { return mask_->text(); }
void DirectoryMaskChooser::setDirectory(const QString& directory) { directory_->setText(directory); }
void DirectoryMaskChooser::setMask(const QString& mask) { mask_->setText(mask); }

} // namespace pitwall::gui
