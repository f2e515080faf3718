#include "graphics/TyresArea.h"

#include "graphics/GraphicsTransfer.h"
#include "graphics/TyreSet.h"

namespace pitwall {

namespace {
constexpr int kTyreProgressText = 1000;

AreaFile TyreAreaFile(int type, int file)
{
    return {TyreGamePath(type, file), TyreFileNames(type)[static_cast<std::size_t>(file)]};
}

} // namespace

void TyresArea::take(TransferContext& context, const ByteSource& source)
{
    for (int type = 0; type < kTyreTypeCount; ++type) {
        if (!context.selected(kTyresFirstItem + type))
            continue;
        GraphicsProgress(context, kTyreProgressText, kTyresFirstItem + type, Args(type));
        takeType(context, type, source);
    }
}

void TyresArea::takeType(TransferContext& context, int type, const ByteSource& source)
{
    const auto names = TyreFileNames(type);
    std::array<std::vector<std::uint8_t>, kTyreFileCount> files;
    for (int f = 0; f < kTyreFileCount; ++f) {
        auto bytes = source.read(TyreAreaFile(type, f), f >= kWheelJam0 ? kMaxJamFileBytes : kMaxPictureFileBytes);
        if (!bytes)
            return;
        files[static_cast<std::size_t>(f)] = std::move(*bytes);
    }
    std::array<Image, 4> pictures;
    for (int f = kTread1; f <= kWheel1; ++f) {
        auto picture =
            DecodePictureBytes(context, files[static_cast<std::size_t>(f)], names[static_cast<std::size_t>(f)]);
        if (!picture)
            return;
        pictures[static_cast<std::size_t>(f)] = std::move(*picture);
    }
    auto jam0 = DecodeJamBytes(context, files[kWheelJam0], names[kWheelJam0], false, JamKind::EightBit);
    auto jam1 =
        jam0 ? DecodeJamBytes(context, files[kWheelJam1], names[kWheelJam1], false, JamKind::EightBit) : std::nullopt;
    if (!jam1)
        return;
    try {
        set_.tyres[static_cast<std::size_t>(type)] =
            ComposeTyreSet(type, std::move(pictures), std::move(*jam0), std::move(*jam1));
    } catch (const FormatError& e) {
        context.fail(e.what());
        return;
    }
    context.markLoaded(kTyresFirstItem + type);
}

void TyresArea::give(TransferContext& context, const ByteSink& sink) const
{
    for (int type = 0; type < kTyreTypeCount; ++type) {
        if (!context.selected(kTyresFirstItem + type))
            continue;
        GraphicsProgress(context, kTyreProgressText, kTyresFirstItem + type, Args(type));
        const auto& set = set_.tyres[static_cast<std::size_t>(type)];
        if (!RequireLoaded(context, kTyresFirstItem + type) || !set)
            continue;
        auto files = TyreSetFiles(*set);
        for (int f = 0; f < kTyreFileCount; ++f)
            sink.write(TyreAreaFile(type, f), std::move(files[static_cast<std::size_t>(f)]));
    }
}

void TyresArea::importFromGame(TransferContext& context) { take(context, ByteSource(context, ByteSource::From::Game)); }

void TyresArea::loadFromCarset(TransferContext& context)
{
    take(context, ByteSource(context, ByteSource::From::Carset));
}

void TyresArea::exportToGame(TransferContext& context) { give(context, ByteSink(context, ByteSink::To::Game)); }

void TyresArea::saveToCarset(TransferContext& context) { give(context, ByteSink(context, ByteSink::To::Carset)); }

} // namespace pitwall
