#include "AboutWindow.h"

#include "LanguageTable.h"
#include "PictureDescription.h"
#include "ProgramPicture.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {

// The rest of the window (name, version, thanks) is the same in every language.
constexpr int kProgramPictureText = 1250;

constexpr TextBinding kAboutTexts[] = {
    {"", TextRole::Caption, 530},
};

} // namespace

AboutWindow::AboutWindow(const UITexts& texts, QWidget* parent) : QDialog(parent)
{
    setObjectName("TForm7");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setObjectName("Image1");
    picture->setPixmap(ProgramPicture(360, 110));
    DescribeFixedPicture(picture, texts, kProgramPictureText);
    picture->setAlignment(Qt::AlignCenter);
    auto* title = new QLabel(QString("<h2>Pitwall</h2>Version %1, released %2<br>"
                                     "The editor for Grand Prix 3 installations<br>"
                                     "Linux, Windows and Wine<br><br>"
                                     "Free software under the %3 licence (the file LICENSE)<br><br>"
                                     "Contact: faults and wishes go to the Pitwall issue tracker at<br>"
                                     "<a href=\"%4/issues\">%4/issues</a>")
                                 .arg(PITWALL_VERSION, PITWALL_RELEASE_DATE, PITWALL_LICENSE, PITWALL_HOMEPAGE),
                             this);
    title->setObjectName("Label1");
    title->setTextInteractionFlags(Qt::TextBrowserInteraction);
    title->setOpenExternalLinks(true);
    auto* thanks = new QGroupBox("Special Thanks To:", this);
    thanks->setObjectName("GroupBox1");
    auto* thanksLayout = new QVBoxLayout(thanks);
    auto* list = new QListWidget(thanks);
    list->setObjectName("ListBox1");
    list->addItems({"Everyone who builds carsets and shares them", "The modders who documented the game's files",
                    "Everyone who tested Pitwall and reported faults"});
    thanksLayout->addWidget(list);
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    layout->addWidget(picture);
    layout->addWidget(title);
    layout->addWidget(thanks);
    layout->addWidget(ok, 0, Qt::AlignRight);
    ApplyTexts(this, kAboutTexts, texts);
    resize(420, 460);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace pitwall::gui
