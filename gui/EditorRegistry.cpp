#include "EditorRegistry.h"

#include "GraphicsEditor.h"
#include "PlaceholderEditor.h"
#include "TeamsEditor.h"

#include <cstring>
#include <vector>

namespace pitwall::gui {

namespace {

std::function<EditorWindow*(AppContext&)> Placeholder(const char* className, const char* title, int item)
{
    return [=](AppContext& app) -> EditorWindow* { return new PlaceholderEditor(app, className, title, item); };
}

const std::vector<EditorEntry>& Table()
{
    static const std::vector<EditorEntry> table = {
        {"TForm12", "TeamsFahrer1", "Teams / Fahrer", 0, true, "T", 0x1F5FA8, [](AppContext& app) -> EditorWindow* { return new TeamsEditor(app); }},
        {"TForm13", "Strecken1", "Strecken", 86, true, "S", 0x2E8B57, Placeholder("TForm13", "Strecken", 138)},
        {"TForm14", "Texte1", "Texte", 105, true, "Tx", 0x8B5A2B, Placeholder("TForm14", "Texte", 168)},
        {"TForm15", "N3DGrafiken1", "3D-Grafiken", 1113, true, "3D", 0x8E44AD, [](AppContext& app) -> EditorWindow* { return new GraphicsEditor(app); }},
        {"TForm27", "Menugrafiken1", "Menugrafiken", 1114, true, "M", 0xC0392B, Placeholder("TForm27", "Menugrafiken", 5)},
        {"TForm16", "Cockpit1", "Cockpit", 157, true, "C", 0x34495E, Placeholder("TForm16", "Cockpit", 78)},
        {"TForm17", "Sounds1", "Sounds", 169, true, "So", 0xD35400, Placeholder("TForm17", "Sounds", 116)},
        {"TForm18", "Verschiedenes1", "Verschiedenes", 81, true, "V", 0x16A085, Placeholder("TForm18", "Verschiedenes", 2)},
        {"TForm25", "Karriere1", "Karriere", 1115, false, "K", 0x7F8C8D, Placeholder("TForm25", "Karriere", 0)},
        {"TForm20", "Workshops1", "Workshops", 916, true, "W", 0x2C3E50, Placeholder("TForm20", "Workshops", 0)},
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
