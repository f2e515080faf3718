// jam info, to-bmp, from-bmp, unscramble: the JAM workshop on the command line.
// Pictures are written as BMP or PNG and read from BMP, PNG or JPG, by
// extension.

#include "Commands.h"
#include "FormatCommandSupport.h"
#include "GameWrites.h"
#include "JsonOutput.h"
#include "OutputOptions.h"
#include "PaletteOption.h"

#include "base/FileUtils.h"
#include "base/Windows1252.h"
#include "formats/JamFile.h"
#include "formats/JamPictureFiles.h"
#include "formats/JamScramble.h"
#include "formats/Palette.h"
#include "transfer/ReportedFormats.h"

#include <memory>

namespace pitwall::cli {

namespace {

// Keeps what the core would show, so a refusal becomes the command's one
// line of failure and what it said on the way to a success a note.
class KeptMessages : public MessageSink {
public:
    void showMessage(const Message& message) override
    {
        last = message.text;
        all.push_back(message.text);
    }
    bool askYesNo(const Message& message) override
    {
        last = message.text;
        return false;
    }
    std::string last;
    std::vector<std::string> all;
};

struct JamSession {
    KeptMessages sink;
    Messenger messenger;
    Palette palette;

    explicit JamSession(CliContext& context) : messenger(context.texts, sink)
    {
        std::string problem;
        CommandPalette chosen = LoadCommandPalette(context, &problem);
        if (!chosen.palette)
            throw CommandFailure("cannot read the game palette: " + problem);
        palette = *chosen.palette;
    }

    [[noreturn]] void fail(const std::string& fallback) const
    {
        std::string text = sink.last.empty() ? fallback : Windows1252ToUtf8(sink.last);
        for (auto& c : text)
            if (c == '\n' || c == '\r')
                c = ' ';
        throw CommandFailure(text);
    }

    // The CLI reports the reader's own reason for a damaged file, which says
    // more than the message the editor shows.
    TJAMFile load(const std::string& file)
    {
        if (!FileExists(file))
            throw CommandFailure(Windows1252ToUtf8(messenger.texts().format(349, Args(file))));
        TJAMFile jam(palette);
        try {
            jam.Decode(ReadWholeFile(file, 256u * 1024 * 1024), false);
        } catch (const JamError& e) {
            throw CommandFailure("not a valid JAM file: " + file + ": " + e.what());
        }
        return jam;
    }
};

void PrintInfo(CliContext& context, const TJAMFile& jam)
{
    context.out << "kind: " << (jam.is8Bit() ? "8-bit (software)" : "16-bit (hardware)") << '\n'
                << "images: " << jam.imageCount() << '\n'
                << "page height: " << jam.pageHeight() << '\n';
    // The layout of a 16-bit JAM's header records is not interpreted.
    if (!jam.is8Bit())
        return;
    for (int i = 0; i < jam.imageCount(); ++i) {
        const JamEntry& e = jam.entries()[static_cast<std::size_t>(i)];
        context.out << "image " << i << ": x " << int(e.x) << ", y " << e.y << ", w " << e.width << ", h " << e.height
                    << ", texture id " << e.textureId << ", table size " << e.tableSize << '\n';
    }
}

// images: null for a 16-bit JAM, whose records are not interpreted.
void PrintInfoJson(CliContext& context, const TJAMFile& jam)
{
    Json images = nullptr;
    if (jam.is8Bit()) {
        images = Json::array();
        for (int i = 0; i < jam.imageCount(); ++i) {
            const JamEntry& e = jam.entries()[static_cast<std::size_t>(i)];
            images.push_back({{"number", i},
                              {"x", e.x},
                              {"y", e.y},
                              {"width", e.width},
                              {"height", e.height},
                              {"textureId", e.textureId},
                              {"tableSize", e.tableSize}});
        }
    }
    PrintJson(context,
              Json{{"bits", jam.is8Bit() ? 8 : 16},
                   {"kind", jam.is8Bit() ? "software" : "hardware"},
                   {"imageCount", jam.imageCount()},
                   {"pageHeight", jam.pageHeight()},
                   {"images", images}});
}

} // namespace

void AddJamCommands(CLI::App& app, CliContext& context)
{
    auto* jam = app.add_subcommand("jam", "Read, convert and write JAM texture files");
    jam->require_subcommand(1);

    {
        auto* cmd = jam->add_subcommand("info", "Show a JAM's kind, page and images");
        auto file = std::make_shared<std::string>();
        cmd->add_option("FILE", *file, "JAM file")->required();
        AddJsonFlag(*cmd, context);
        cmd->callback([&context, file] {
            JamSession session(context);
            if (context.json)
                PrintInfoJson(context, session.load(*file));
            else
                PrintInfo(context, session.load(*file));
        });
    }
    {
        auto* cmd = jam->add_subcommand("to-bmp", "Save a JAM's page as a BMP or PNG picture");
        auto file = std::make_shared<std::string>();
        cmd->add_option("FILE", *file, "JAM file")->required();
        auto out = std::make_shared<std::string>();
        AddOutputOption(cmd, *out, "OUT", "Picture file to write (.BMP or .PNG)");
        cmd->callback([&context, file, out] {
            const std::string& bmp = RequireNoGameFileAt(RequireOutput(*out));
            JamSession session(context);
            const TJAMFile jam = session.load(*file);
            MakeFolderOf(bmp);
            if (!SaveJamPage(jam, bmp, &session.messenger))
                session.fail("cannot write the picture " + bmp);
            Note(context, "wrote " + bmp);
        });
    }
    {
        auto* cmd =
            jam->add_subcommand("from-bmp", "Replace a JAM's page from a BMP, PNG or JPG picture and save the JAM");
        auto file = std::make_shared<std::string>();
        auto bmp = std::make_shared<std::string>();
        auto out = std::make_shared<std::string>();
        auto dither = std::make_shared<bool>(false);
        cmd->add_option("FILE", *file, "JAM file")->required();
        cmd->add_option("IN", *bmp,
                        "Picture of 256 x page height: BMP, PNG or JPG of any colours, reduced to the game "
                        "palette for an 8-bit JAM (a 16-bit JAM needs more than 8 bits in a BMP)")
            ->required();
        cmd->add_option("-o,--output", *out, "JAM file to write (default: FILE itself)");
        cmd->add_flag("--dither", *dither, "Floyd-Steinberg dithering when a picture is reduced to the game palette");
        cmd->callback([&context, file, bmp, out, dither] {
            RequirePictureFile(context, *bmp);
            JamSession session(context);
            const FileStamp read = StampOf(*file);
            TJAMFile jam = session.load(*file);
            if (!LoadJamPage(jam, *bmp, *dither ? Dithering::FloydSteinberg : Dithering::None, &session.messenger))
                session.fail("cannot use the picture " + *bmp);
            for (const std::string& said : session.sink.all)
                Note(context, MessageTextToUtf8(said));
            const std::string target = out->empty() ? *file : *out;
            const TMemFile assembled = jam.Assemble(true);
            auto content = assembled.Content();
            // Written over the JAM it came from only if nothing wrote it since.
            std::optional<FileStamp> from;
            if (out->empty())
                from = read;
            ReplaceFileGuarded(context, target, std::vector<std::uint8_t>(content.begin(), content.end()), from);
            Note(context, "wrote " + target);
        });
    }
    {
        auto* cmd = jam->add_subcommand("unscramble", "Write the unscrambled copy (.JAD) of an 8-bit JAM");
        auto file = std::make_shared<std::string>();
        cmd->add_option("FILE", *file, "8-bit JAM file")->required();
        auto out = std::make_shared<std::string>();
        AddOutputOption(cmd, *out, "OUT", "JAD file to write");
        cmd->callback([&context, file, out] {
            const std::string& jad = RequireNoGameFileAt(RequireOutput(*out));
            JamSession session(context);
            // Loading first refuses damaged files and tells the kinds apart:
            // a 16-bit JAM is not scrambled.
            if (!session.load(*file).is8Bit())
                throw CommandFailure("a 16-bit JAM is not scrambled: " + *file);
            MakeFolderOf(jad);
            ScrambleFile(*file, jad);
            Note(context, "wrote " + jad);
        });
    }
}

} // namespace pitwall::cli
