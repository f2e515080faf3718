// The module pitwall-sound: sound playback through Qt Multimedia for the
// sounds editor, loaded by the program on first use (SoundModule.h).

#include "SoundPlayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QObject>
#include <QSoundEffect>
#include <QUrl>

namespace pitwall::gui {
namespace {

class QtSoundPlayer final : public SoundPlayer {
public:
    ~QtSoundPlayer() override
    {
        if (effect_) {
            effect_->disconnect();
            delete effect_;
        }
    }

    bool hasAudioOutput() const override { return !QMediaDevices::audioOutputs().isEmpty(); }

    void play(const QString& file, std::function<void()> ended) override
    {
        stop();
        auto* effect = new QSoundEffect;
        effect_ = effect;
        effect->setSource(QUrl::fromLocalFile(file));
        auto finish = [this, effect, ended = std::move(ended)] {
            if (effect != effect_)
                return;
            const bool done = (!effect->isPlaying() && effect->status() == QSoundEffect::Ready)
                || effect->status() == QSoundEffect::Error;
            if (done) {
                const std::function<void()> callback = ended;
                stop();
                callback();
            }
        };
        QObject::connect(effect, &QSoundEffect::playingChanged, effect, finish);
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, finish);
        effect->play();
    }

    void stop() override
    {
        if (!effect_)
            return;
        // May run inside one of the effect's own signals: deleted later.
        effect_->disconnect();
        effect_->stop();
        effect_->deleteLater();
        effect_ = nullptr;
    }

private:
    QSoundEffect* effect_ = nullptr;
};

} // namespace
} // namespace pitwall::gui

extern "C" Q_DECL_EXPORT pitwall::gui::SoundPlayer* pitwall_create_sound_player()
{
    return new pitwall::gui::QtSoundPlayer;
}
