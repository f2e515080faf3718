#include "EditorRegistry.h"

#include "CareerWindow.h"
#include "CockpitEditor.h"
#include "GraphicsEditor.h"
#include "MenuGraphicsEditor.h"
#include "MiscEditor.h"
#include "SoundsEditor.h"
#include "TeamsEditor.h"
#include "TextsEditor.h"
#include "TracksEditor.h"
#include "WorkshopsWindow.h"

#include <cstring>
#include <vector>

namespace pitwall::gui {

namespace {

const std::vector<EditorEntry>& Table()
{
    static const std::vector<EditorEntry> table = {
        {"TForm12", "TeamsFahrer1", "Teams / Fahrer", 0, true, "T", 0x1F5FA8,
         [](AppContext& app) -> EditorWindow* { return new TeamsEditor(app); }},
        {"TForm13", "Strecken1", "Strecken", 86, true, "S", 0x2E8B57,
         [](AppContext& app) -> EditorWindow* { return new TracksEditor(app); }},
        {"TForm14", "Texte1", "Texte", 105, true, "Tx", 0x8B5A2B,
         [](AppContext& app) -> EditorWindow* { return new TextsEditor(app); }},
        {"TForm15", "N3DGrafiken1", "3D-Grafiken", 1113, true, "3D", 0x8E44AD,
         [](AppContext& app) -> EditorWindow* { return new GraphicsEditor(app); }},
        {"TForm27", "Menugrafiken1", "Menugrafiken", 1114, true, "M", 0xC0392B,
         [](AppContext& app) -> EditorWindow* { return new MenuGraphicsEditor(app); }},
        {"TForm16", "Cockpit1", "Cockpit", 157, true, "C", 0x34495E,
         [](AppContext& app) -> EditorWindow* { return new CockpitEditor(app); }},
        {"TForm17", "Sounds1", "Sounds", 169, true, "So", 0xD35400,
         [](AppContext& app) -> EditorWindow* { return new SoundsEditor(app); }},
        {"TForm18", "Verschiedenes1", "Verschiedenes", 81, true, "V", 0x16A085,
         [](AppContext& app) -> EditorWindow* { return new MiscEditor(app); }},
        {"TForm25", "Karriere1", "Karriere", 1115, true, "K", 0x7F8C8D,
         [](AppContext& app) -> EditorWindow* { return new CareerWindow(app); }},
        {"TForm20", "Workshops1", "Workshops", 916, true, "W", 0x2C3E50,
         [](AppContext& app) -> EditorWindow* { return new WorkshopsWindow(app); }},
    };
    return table;
}

} // namespace

std::span<const EditorEntry> Editors() { return Table(); }

const EditorEntry* FindEditor(const char* className)
{
    for (const auto& e : Table())
        if (std::strcmp(e.className, className) == 0)
            return &e;
    return nullptr;
}

} // namespace pitwall::gui
