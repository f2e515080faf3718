#include "InfoWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pitwall::gui {

InfoWindow::InfoWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName("TForm11");
    setWindowTitle("Info");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* notice = new QLabel(
        "This is the first start of Pitwall.\n\n"
        "Pitwall is free software: you may copy it and pass it on freely, as long as no fee is charged for it.\n"
        "You use it at your own risk: nobody takes responsibility for any damage to your game installation, "
        "your files or your computer.\n\n"
        "Before you change anything, make a backup of your Grand Prix 3 files with the backup option:",
        this);
    notice->setObjectName("Label1");
    notice->setWordWrap(true);
    auto* backup = new QPushButton("Backup-option", this);
    backup->setObjectName("Button1");
    auto* about = new QLabel("You find more about Pitwall and its authors in Help > About.", this);
    about->setWordWrap(true);
    auto* donation = new QLabel("If you like Pitwall, a voluntary donation to its authors is very welcome.", this);
    donation->setObjectName("Label2");
    donation->setWordWrap(true);
    auto* ok = new QPushButton("Continue", this);
    ok->setObjectName("BitBtn1");
    ok->setDefault(true);
    auto* backupRow = new QHBoxLayout;
    backupRow->addWidget(backup);
    backupRow->addStretch();
    auto* okRow = new QHBoxLayout;
    okRow->addStretch();
    okRow->addWidget(ok);
    layout->addWidget(notice);
    layout->addLayout(backupRow);
    layout->addWidget(about);
    layout->addWidget(donation);
    layout->addLayout(okRow);
    resize(460, 300);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(backup, &QPushButton::clicked, this, [this] {
        if (showBackup)
            showBackup();
    });
}

} // namespace pitwall::gui
