#include "InfoWindow.h"

#include "AppContext.h"
#include "QtMessages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {

constexpr int kInfoTitleText = 1112, kFirstStartText = 1243, kBackupOptionText = 1244, kAboutPointerText = 1245,
              kDonationText = 1246, kContinueText = 1247;

} // namespace

InfoWindow::InfoWindow(AppContext& app, QWidget* parent) : QDialog(parent)
{
    auto text = [&app](int number) { return FromGameText(app.program.texts.text(number)).replace('|', '\n'); };
    setObjectName("TForm11");
    setWindowTitle(text(kInfoTitleText));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* notice = new QLabel(text(kFirstStartText), this);
    notice->setObjectName("Label1");
    notice->setWordWrap(true);
    auto* backup = new QPushButton(text(kBackupOptionText), this);
    backup->setObjectName("Button1");
    auto* about = new QLabel(text(kAboutPointerText), this);
    about->setWordWrap(true);
    auto* donation = new QLabel(text(kDonationText), this);
    donation->setObjectName("Label2");
    donation->setWordWrap(true);
    auto* ok = new QPushButton(text(kContinueText), this);
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
