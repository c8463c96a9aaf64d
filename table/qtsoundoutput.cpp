#include "qtsoundoutput.h"

#include "resourcecatalog.h"

#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

QtSoundOutput::QtSoundOutput(QObject* parent) : QtSoundOutput(QMediaDevices::defaultAudioOutput(), parent) {}

QtSoundOutput::QtSoundOutput(const QAudioDevice& device, QObject* parent) : QObject(parent)
{
    if (device.isNull()) {
        qInfo("Morlu: no sound device; the table plays no sounds");
        return;
    }
    const QStringList names = ResourceCatalog::gameSoundNames() + ResourceCatalog::chatterSoundNames();
    for (const QString& name : names) {
        auto* effect = new QSoundEffect(device, this);
        effect->setSource(QUrl(QStringLiteral("qrc") + ResourceCatalog::soundPath(name)));
        m_effects.insert(name, effect);
    }
}

void QtSoundOutput::play(const QString& name)
{
    QSoundEffect* effect = m_effects.value(name.toLower());
    if (effect == nullptr)
        return;
    if (m_playing != nullptr && m_playing != effect)
        m_playing->stop();
    // QSoundEffect::play() restarts a sound that is still playing.
    effect->play();
    m_playing = effect;
    ++m_started;
}
