#include "graphics/PictureIntoJam.h"

namespace pitwall {

bool LoadPictureIntoJam(TJAMFile& jam, const std::string& fileName, Messenger* messenger)
{
    return jam.LoadFromBMP(fileName, messenger);
}

bool LoadPictureIntoJamPair(TJAMFile& top, TJAMFile& bottom, const std::string& fileName, Messenger* messenger)
{
    return top.LoadPairFromBMP(fileName, bottom, messenger);
}

} // namespace pitwall
