#include "graphics/GraphicsTransfer.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "formats/Bmp.h"
#include "formats/GameInstallation.h"
#include "transfer/GameChangeSet.h"
#include "transfer/TransferUi.h"

#include <algorithm>
#include <filesystem>

namespace pitwall {

void GraphicsProgress(TransferContext& context, int text, int item, const FormatArgs& args)
{
    context.workOnItem(item);
    context.loading.setProgress(context.program.texts.format(text, args), ProgressWeight(item));
}

std::optional<TJAMFile> DecodeJamBytes(TransferContext& context, const std::vector<std::uint8_t>& bytes,
                                       const std::string& label, bool raw, JamKind kind)
{
    return TakeDecodedJam(context, DecodeJam(context.program.palette, bytes, raw), label, kind);
}

DecodedJam DecodeJam(const Palette& palette, std::span<const std::uint8_t> bytes, bool raw)
{
    DecodedJam decoded;
    try {
        decoded.jam.emplace(palette).Decode(bytes, raw);
    } catch (...) {
        decoded.jam.reset();
        decoded.failure = std::current_exception();
    }
    return decoded;
}

std::optional<TJAMFile> TakeDecodedJam(TransferContext& context, DecodedJam decoded, const std::string& label,
                                       JamKind kind)
{
    try {
        if (decoded.failure)
            std::rethrow_exception(decoded.failure);
    } catch (const JamError& e) {
        if (e.uiText() == kJamUnknownLayoutText)
            context.fail(label + ": " + context.program.texts.text(kJamUnknownLayoutText));
        else
            context.fail(kJamDamagedText, Args(label, e.what()));
        return std::nullopt;
    } catch (const FormatError& e) {
        context.fail(kJamDamagedText, Args(label, e.what()));
        return std::nullopt;
    }
    const TJAMFile& jam = *decoded.jam;
    // An 8-bit page is held as colours: without the game palette every index
    // would become black and be written back as index 0.
    if (jam.is8Bit() && !HasGamePalette(context.program.palette)) {
        context.fail(label + " was not read: the game palette (" + std::string(kPaletteFileName)
                     + ") is not loaded, and an 8-bit JAM cannot be kept without it");
        return std::nullopt;
    }
    if ((kind == JamKind::EightBit && !jam.is8Bit()) || (kind == JamKind::SixteenBit && jam.is8Bit())) {
        context.fail(label + " is a " + (jam.is8Bit() ? "8-bit" : "16-bit") + " JAM where a "
                     + (kind == JamKind::EightBit ? "8-bit (software)" : "16-bit (hardware)")
                     + " JAM belongs; it was not taken");
        return std::nullopt;
    }
    return std::move(decoded.jam);
}

bool HasGamePalette(const Palette& palette)
{
    const auto& pixels = palette.pixels();
    return std::any_of(pixels.begin(), pixels.end(), [&](Pixel p) { return p != pixels.front(); });
}

std::optional<Image> DecodePictureBytes(TransferContext& context, const std::vector<std::uint8_t>& bytes,
                                        const std::string& label)
{
    try {
        return DecodeBmp(bytes);
    } catch (const FormatError& e) {
        context.fail(label + " is not a picture this program reads: " + e.what());
        return std::nullopt;
    }
}

std::vector<std::uint8_t> JamBytes(const TJAMFile& jam, bool scrambled)
{
    TMemFile file = jam.Assemble(scrambled);
    auto content = file.Content();
    return {content.begin(), content.end()};
}

bool RequireLoaded(TransferContext& context, int item)
{
    if (context.transfer.isLoaded(item))
        return true;
    context.fail(ItemDescription(item, context.program.texts)
                 + " was never imported or loaded; it is skipped so that nothing empty is written");
    return false;
}

} // namespace pitwall
