#include "GraphicsEditorPage.h"

#include "AppContext.h"

#include "QtMessages.h"

#include <QLayout>
#include <QListWidget>
#include <QPushButton>

namespace pitwall::gui {

namespace {
// The buttons every page's transfer group has, by the text they show.
constexpr const char* kPageNames[] = {"Car", "Cockpit", "Jack", "Helmet", "Crew", "Tyre", "Flag"};
constexpr int kTeamListChars = 13;
} // namespace

GraphicsSet& GraphicsPageContext::graphics() const { return app.workingSet().graphics; }
GraphicsEditorState& GraphicsPageContext::state() const { return app.editorStates.graphics; }
bool GraphicsPageContext::isLoaded(int item) const { return app.workingSet().transfer.isLoaded(item); }

GraphicsEditorPage::GraphicsEditorPage(GraphicsPageContext& context, GraphicsPage kind, QWidget* parent)
    : QWidget(parent), context_(context), kind_(kind)
{}

void GraphicsEditorPage::addTransferButtons(QLayout* layout)
{
    struct Command {
        const char* suffix;
        const char* caption;
        int text;
        bool all;
        bool toGame;
    };
    static constexpr Command kCommands[] = {{"Import", "Importieren", 390, false, false},
                                            {"Export", "Exportieren", 391, false, true},
                                            {"ImportAll", "Alles importieren", 392, true, false},
                                            {"ExportAll", "Alles exportieren", 393, true, true}};
    const char* prefix = kPageNames[static_cast<int>(kind_)];
    for (const Command& c : kCommands) {
        auto* button = new QPushButton(c.caption, this);
        button->setObjectName(QString(prefix) + c.suffix);
        button->setProperty("uiText", c.text);
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, c] {
            context_.transfer(c.all ? PageAllItems(kind_) : PageItems(kind_, team(), variant()), c.toGame);
        });
    }
}

void GraphicsEditorPage::showOnChange()
{
    if (!context_.filling)
        context_.showPage();
}

void GraphicsEditorPage::fillTeamList(QListWidget* list) const
{
    const int row = list->currentRow();
    list->clear();
    for (const auto& t : context_.app.workingSet().teams.teams)
        list->addItem(FromUntrustedGameText(t.name.text().substr(0, kTeamListChars)));
    list->setCurrentRow(std::max(0, row));
}

} // namespace pitwall::gui
