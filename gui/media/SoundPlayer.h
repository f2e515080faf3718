#pragma once
// Sound playback of the sounds editor, behind a small interface: the player
// lives in the module pitwall-sound (next to the program, or in lib/pitwall
// when installed), which alone links Qt Multimedia and its audio back ends,
// so the program starts without them and loads them only when a sound is
// first played (SoundModule.h).

#include <QString>

#include <functional>

namespace pitwall::gui {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // Whether the system has an audio output device to play on.
    virtual bool hasAudioOutput() const = 0;
    // Starts playing a WAV file without holding up the caller; a sound still
    // playing stops first. `ended` is called on the GUI thread once the sound
    // has played or could not be played, never after stop().
    virtual void play(const QString& file, std::function<void()> ended) = 0;
    virtual void stop() = 0;
};

// The module's one exported function: a new player, owned by the caller.
using CreateSoundPlayerFunction = SoundPlayer* (*)();
inline constexpr char kCreateSoundPlayerSymbol[] = "pitwall_create_sound_player";

} // namespace pitwall::gui
