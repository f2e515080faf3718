#include "sounds/SoundConversionText.h"

#include "base/UITexts.h"

namespace pitwall {

std::string SoundShapeText(const SoundShape& shape, const UITexts& texts)
{
    std::string channels = shape.channels == 1   ? texts.text(kMonoText)
                           : shape.channels == 2 ? texts.text(kStereoText)
                                                 : texts.format(kChannelsText, Args(shape.channels));
    return texts.format(shape.floating ? kFloatSoundShapeText : kSoundShapeText,
                        Args(shape.sampleRate, shape.bits, channels));
}

std::string SoundConversionText(const std::string& file, const SoundConversion& conversion, const UITexts& texts)
{
    return texts.format(kSoundConvertedText,
                        Args(file, SoundShapeText(conversion.from, texts), SoundShapeText(conversion.to, texts)));
}

} // namespace pitwall
