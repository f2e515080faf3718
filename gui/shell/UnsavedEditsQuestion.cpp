#include "UnsavedEditsQuestion.h"

#include "QtMessages.h"
#include "base/UITexts.h"

#include <QMessageBox>
#include <QPushButton>

namespace pitwall::gui {

namespace {
constexpr int kQuestionText = 1169, kSaveCarsetText = 1170, kExportText = 1171, kDiscardText = 1172;
constexpr int kTitleText = 1174;
} // namespace

std::unique_ptr<QMessageBox> MakeUnsavedEditsQuestion(const UITexts& texts, QWidget* parent)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, FromGameText(texts.text(kTitleText)),
                                             FromGameText(texts.text(kQuestionText)), QMessageBox::NoButton, parent);
    box->setObjectName("UnsavedChangesQuestion");
    QPushButton* save = box->addButton(FromGameText(texts.text(kSaveCarsetText)), QMessageBox::AcceptRole);
    save->setObjectName("SaveCarsetFirst");
    box->addButton(FromGameText(texts.text(kExportText)), QMessageBox::AcceptRole)->setObjectName("ExportFirst");
    box->addButton(FromGameText(texts.text(kDiscardText)), QMessageBox::DestructiveRole)->setObjectName("DiscardEdits");
    QPushButton* cancel = box->addButton(QMessageBox::Cancel);
    cancel->setObjectName("CancelQuestion");
    box->setDefaultButton(save);
    box->setEscapeButton(cancel);
    return box;
}

AppContext::EditsAnswer AskAboutUnsavedEdits(const UITexts& texts, QWidget* parent)
{
    auto box = MakeUnsavedEditsQuestion(texts, parent);
    box->exec();
    const QString answer = box->clickedButton() ? box->clickedButton()->objectName() : QString();
    if (answer == "SaveCarsetFirst")
        return AppContext::EditsAnswer::SaveCarset;
    if (answer == "ExportFirst")
        return AppContext::EditsAnswer::Export;
    if (answer == "DiscardEdits")
        return AppContext::EditsAnswer::Discard;
    return AppContext::EditsAnswer::Cancel;
}

} // namespace pitwall::gui
