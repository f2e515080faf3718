#include "transfer/PointOperationText.h"

#include <charconv>
#include <optional>
#include <system_error>

namespace pitwall {

namespace {

constexpr int kExportText = 1180, kExportItemsText = 1181, kApplyItemsText = 1182, kSettingsText = 1183,
              kTextImportText = 1184, kSoundReplaceText = 1185, kArtImportText = 1186, kArtExpandText = 1187,
              kBeforeRestoreText = 1188, kFileText = 1189, kApplyText = 1192, kUndoOfCarsetText = 1241,
              kUndoOfRunsText = 1242;

// Arguments are kept in UTF-8 (file and carset names) and go into the
// Windows-1252 UI text as they are, as paths go into messages, so a name
// outside Windows-1252 (a Polish or Japanese file name) keeps its letters.
std::string Arg(const std::vector<std::string>& args, std::size_t i)
{
    return i < args.size() ? args[i] : std::string();
}

std::string ArgsFrom(const std::vector<std::string>& args, std::size_t from)
{
    std::string text;
    for (std::size_t i = from; i < args.size(); ++i)
        text += (text.empty() ? "" : ", ") + Arg(args, i);
    return text;
}

std::optional<long> NumberIn(const std::string& arg)
{
    long value = 0;
    const char* end = arg.data() + arg.size();
    auto [at, error] = std::from_chars(arg.data(), end, value);
    if (arg.empty() || error != std::errc() || at != end)
        return std::nullopt;
    return value;
}

// Item and sound numbers: a run of three or more in a row as "10-78", as
// --items takes them, so a complete apply reads "1-4, 6-8, 10-78, ..." rather
// than 170 numbers.
std::string NumbersFrom(const std::vector<std::string>& args, std::size_t from)
{
    std::string text;
    for (std::size_t i = from; i < args.size();) {
        std::size_t last = i;
        for (auto value = NumberIn(args[i]); value && last + 1 < args.size(); ++last, ++*value)
            if (NumberIn(args[last + 1]) != *value + 1)
                break;
        if (last < i + 2)
            last = i;
        text += (text.empty() ? "" : ", ") + Arg(args, i) + (last > i ? "-" + Arg(args, last) : "");
        i = last + 1;
    }
    return text;
}

} // namespace

std::string OperationText(const RestorePoint& point, const UITexts& texts)
{
    namespace k = point_kind;
    const PointOperation& op = point.what;
    const std::string& kind = op.kind;
    if (kind == k::kExport)
        return op.args.empty() ? texts.text(kExportText)
                               : texts.format(kExportItemsText, Args(NumbersFrom(op.args, 0)));
    if (kind == k::kApply)
        return op.args.size() > 1 ? texts.format(kApplyItemsText, Args(Arg(op.args, 0), NumbersFrom(op.args, 1)))
                                  : texts.format(kApplyText, Args(Arg(op.args, 0)));
    if (kind == k::kSettings)
        return texts.text(kSettingsText);
    if (kind == k::kTextImport)
        return texts.format(kTextImportText, Args(Arg(op.args, 0)));
    if (kind == k::kSoundReplace)
        return texts.format(kSoundReplaceText, Args(NumbersFrom(op.args, 0)));
    if (kind == k::kArtImport)
        return texts.format(kArtImportText, Args(Arg(op.args, 0)));
    if (kind == k::kArtExpand)
        return texts.text(kArtExpandText);
    if (kind == k::kRestore)
        return texts.format(kBeforeRestoreText, Args(Arg(op.args, 0)));
    if (kind == k::kFile)
        return texts.format(kFileText, Args(Arg(op.args, 0)));
    if (kind == k::kUndo)
        return op.args.empty() || op.args[0].empty() ? texts.format(kUndoOfRunsText, Args(ArgsFrom(op.args, 1)))
                                                     : texts.format(kUndoOfCarsetText, Args(Arg(op.args, 0)));
    return point.operation.empty() ? kind : point.operation;
}

} // namespace pitwall
