#include "FileDialogs.h"

#include "AppContext.h"
#include "base/FileUtils.h"
#include "transfer/FileChoice.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace pitwall::gui {

QString DialogFilterEntry(QString description, const QString& pattern)
{
    // Language files often show the pattern in the description already
    // ("Carsets (*.GMS)"); the dialog reads the patterns from the last
    // parentheses, so exactly one pair with the real patterns is kept.
    description = description.trimmed();
    if (description.endsWith(')')) {
        qsizetype open = description.lastIndexOf('(');
        if (open > 0)
            description = description.left(open).trimmed();
    }
    return description + " (" + QString(pattern).replace(';', ' ') + ")";
}

namespace {

struct QtFilters {
    QStringList entries;
    std::vector<std::string> patterns;
};

QtFilters MakeFilters(AppContext& app, const FileRequest& request)
{
    QtFilters f;
    for (const FileFilter& filter : FileFilters(app.program.texts, request.filters)) {
        f.entries << DialogFilterEntry(FromGameText(filter.description), FromGameText(filter.pattern));
        f.patterns.push_back(filter.pattern);
    }
    return f;
}

bool AskToReplace(QWidget* parent, const std::string& name)
{
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(),
                    QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
                        .arg(QFileInfo(QString::fromStdString(name)).fileName()),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName("ReplaceQuestion");
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> Choose(AppContext& app, QWidget* parent, const FileRequest& request, bool save)
{
    std::string ini = app.program.directories.settingsFile();
    std::string dir = RememberedDirectory(ini, request.key, app.program.settings.gameDirectory);
    QtFilters filters = MakeFilters(app, request);
    int index = std::clamp(request.filterIndex, 1, std::max(1, static_cast<int>(filters.entries.size()))) - 1;
    QString selected = filters.entries.value(index);
    // A default name with its own folder (a full path) starts there.
    QString start = QString::fromStdString(request.defaultName.find('/') != std::string::npos
                                               ? request.defaultName
                                               : IncludeTrailingBackslash(dir) + request.defaultName);
    for (;;) {
        QString chosen = save
            ? QFileDialog::getSaveFileName(parent, QString(), start, filters.entries.join(";;"), &selected)
            : QFileDialog::getOpenFileName(parent, QString(), start, filters.entries.join(";;"), &selected);
        if (chosen.isEmpty())
            return std::nullopt;
        std::string name = chosen.toStdString();
        if (save) {
            const auto used = filters.entries.indexOf(selected);
            name = SavedFileName(name, filters.patterns,
                                 used >= 0 ? static_cast<std::size_t>(used) : filters.patterns.size());
            // The dialog asked about the name as typed; with the filter's
            // extension added it may name a file that exists: ask as the
            // dialog would, and offer the dialog again on No.
            if (name != chosen.toStdString() && FileExists(name) && !AskToReplace(parent, name)) {
                start = chosen;
                continue;
            }
        }
        RememberDirectory(ini, request.key, name);
        return name;
    }
}

} // namespace

std::optional<std::string> ChooseFileToOpen(AppContext& app, QWidget* parent, const FileRequest& request)
{
    return Choose(app, parent, request, false);
}

std::optional<std::string> ChooseFileToSave(AppContext& app, QWidget* parent, const FileRequest& request)
{
    return Choose(app, parent, request, true);
}

} // namespace pitwall::gui
