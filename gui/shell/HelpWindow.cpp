#include "HelpWindow.h"

#include "QtMessages.h"
#include "base/UITexts.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {
constexpr int kLanguageFolderText = 1163;
constexpr int kTitleText = 1164;
constexpr int kBackText = 1165, kForwardText = 1166, kContentsText = 1167, kCloseText = 1168;
} // namespace

bool IsHelpKey(int key) { return key == Qt::Key_F1; }

HelpWindow::HelpWindow(const UITexts& texts, std::string manualDirectory, QWidget* parent)
    : QDialog(parent), texts_(texts), manualDirectory_(std::move(manualDirectory))
{
    setObjectName("HelpWindow");
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    back_ = new QPushButton(this);
    back_->setObjectName("HelpBack");
    forward_ = new QPushButton(this);
    forward_->setObjectName("HelpForward");
    contents_ = new QPushButton(this);
    contents_->setObjectName("HelpContents");
    close_ = new QPushButton(this);
    close_->setObjectName("HelpClose");
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(contents_);
    buttons->addStretch();
    buttons->addWidget(close_);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("HelpPage");
    browser_->setOpenExternalLinks(true); // the project's web pages open in the web browser
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
    connect(contents_, &QPushButton::clicked, this, [this] { showPageFor(QString()); });
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    applyLanguage();
    resize(760, 600);
}

void HelpWindow::applyLanguage()
{
    setWindowTitle(FromGameText(texts_.text(kTitleText)));
    back_->setText(FromGameText(texts_.text(kBackText)));
    forward_->setText(FromGameText(texts_.text(kForwardText)));
    contents_->setText(FromGameText(texts_.text(kContentsText)));
    close_->setText(FromGameText(texts_.text(kCloseText)));
}

// A language file names the folder of its manual; one whose folder is
// missing (a language the manual is not written in) gets the English one.
QString HelpWindow::languageFolder() const
{
    const QString root = QString::fromStdString(manualDirectory_);
    const QString named = FromGameText(texts_.text(kLanguageFolderText)).trimmed();
    if (!named.isEmpty() && !named.contains('/') && !named.contains('\\') && !named.startsWith('.')
        && QFileInfo::exists(root + named + "/" + kManualContentsPage))
        return named;
    return "en";
}

bool HelpWindow::showPageFor(const QString& windowName)
{
    // Read each time: small, and a manual installed meanwhile is found.
    const ManualIndex index = ManualIndex::Read(manualDirectory_ + "windows.tsv");
    const QString folder = QString::fromStdString(manualDirectory_) + languageFolder() + "/";
    QString page = folder + QString::fromStdString(index.pageFor(windowName.toStdString()));
    if (!QFileInfo::exists(page))
        page = folder + kManualContentsPage;
    if (!QFileInfo::exists(page))
        return false;
    browser_->setSearchPaths({folder});
    browser_->setSource(QUrl::fromLocalFile(page));
    return true;
}

QString HelpWindow::shownFile() const { return browser_->source().toLocalFile(); }

} // namespace pitwall::gui
