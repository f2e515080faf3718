#include "CarsetInfoWindow.h"

#include "AppContext.h"
#include "GameTextGuard.h"
#include "LanguageTable.h"
#include "MemoPlainText.h"
#include "OkCancelButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {

constexpr TextBinding kCarsetInfoTexts[] = {
    {"", TextRole::Caption, 727},        {"Label59", TextRole::Caption, 728},   {"Label60", TextRole::Caption, 729},
    {"Label73", TextRole::Caption, 730}, {"GroupBox1", TextRole::Caption, 731}, {"CheckBox1", TextRole::Caption, 1151},
    {"BitBtn1", TextRole::Caption, 203}, {"BitBtn2", TextRole::Caption, 204},
};

// INFO.DAT is written by whoever made the carset.
QString Text(const std::string& bytes) { return FromUntrustedGameText(bytes); }

QString MemoText(const std::vector<std::string>& lines)
{
    QStringList shown;
    for (const auto& l : lines)
        shown << Text(l);
    return shown.join('\n');
}

// The edited text, or the stored bytes when the control still shows them.
std::string Edited(const QString& text, const std::string& stored)
{
    return text == Text(stored) ? stored : ToGameText(text);
}

} // namespace

CarsetInfoWindow::CarsetInfoWindow(AppContext& app, const CarsetInfo& info, QWidget* parent) : QDialog(parent)
{
    setObjectName("TForm19");
    setWindowTitle("Carset-Informationen ändern");
    setModal(true);
    auto* grid = new QGridLayout(this);
    auto* versionLabel = new QLabel("Erstellt mit Pitwall Version:", this);
    versionLabel->setObjectName("Label59");
    version_ = new QComboBox(this);
    version_->setObjectName("ComboBox8");
    version_->setEditable(true);
    version_->addItems({"", "v1.0 BETA 5", "v1.0 BETA 6", "v1.0"});
    version_->setCurrentText("v1.0");
    auto* authorLabel = new QLabel("Erstellt von:", this);
    authorLabel->setObjectName("Label60");
    author_ = new QLineEdit(this);
    author_->setObjectName("Edit15");
    auto* dateLabel = new QLabel("Datum:", this);
    dateLabel->setObjectName("Label73");
    date_ = new QLineEdit(this);
    date_->setObjectName("MaskEdit5");
    // Two digits each for day, month and year.
    date_->setInputMask("99.99.99;_");
    date_->setText("");
    auto* group = new QGroupBox("Zusätzliche Informationen:", this);
    group->setObjectName("GroupBox1");
    auto* gl = new QVBoxLayout(group);
    memo_ = new QPlainTextEdit(group);
    memo_->setObjectName("Memo1");
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    gl->addWidget(memo_);
    showOnLoad_ = new QCheckBox("Beim Laden des Carsets anzeigen", this);
    showOnLoad_->setObjectName("CheckBox1");
    grid->addWidget(versionLabel, 0, 0);
    grid->addWidget(version_, 0, 1);
    grid->addWidget(authorLabel, 1, 0);
    grid->addWidget(author_, 1, 1);
    grid->addWidget(dateLabel, 2, 0);
    grid->addWidget(date_, 2, 1);
    grid->addWidget(group, 3, 0, 1, 2);
    grid->addWidget(showOnLoad_, 4, 0, 1, 2);
    grid->addLayout(AddOkCancel(this), 5, 0, 1, 2);
    resize(440, 380);

    ApplyTexts(this, kCarsetInfoTexts, app.program.texts);
    // INFO.DAT is Windows-1252 like the game's texts.
    GuardGameText(author_, app.program.texts);
    GuardGameText(version_->lineEdit(), app.program.texts);
    GuardGameText(memo_, app.program.texts);
    // With fewer than ten lines (the start-up defaults) the fields keep
    // their own defaults.
    if (info.lines.size() >= 10) {
        shown_ = CarsetInfoToFields(info);
        version_->setCurrentText(Text(shown_.version));
        author_->setText(Text(shown_.author));
        date_->setText(Text(shown_.date));
        showOnLoad_->setChecked(shown_.showOnLoad);
        memo_->setPlainText(MemoText(shown_.text));
    }
    shownDate_ = date_->text();
}

CarsetInfoFields CarsetInfoWindow::fields() const
{
    CarsetInfoFields f;
    f.version = Edited(version_->currentText(), shown_.version);
    f.author = Edited(author_->text(), shown_.author);
    // The masked field shows a date of another form cut or with its dots
    // ("24.12.2003" as "24.12.20", none as ".."): compare with what it showed.
    f.date = date_->text() == shownDate_ ? shown_.date : ToGameText(date_->text());
    f.showOnLoad = showOnLoad_->isChecked();
    QString text = MemoPlainText(*memo_);
    if (text == MemoText(shown_.text))
        f.text = shown_.text;
    else if (!text.isEmpty())
        for (const QString& line : text.split('\n'))
            f.text.push_back(ToGameText(line));
    return f;
}

void CarsetInfoWindow::applyCarsetInfoEdits(CarsetInfo& info) const { pitwall::ApplyCarsetInfoEdits(info, fields()); }

} // namespace pitwall::gui
