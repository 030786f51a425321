#include "platform/mpris/MprisAdaptors.h"

#include "platform/mpris/MprisService.h"

MprisRootAdaptor::MprisRootAdaptor(QObject* object, MprisService& service)
    : QDBusAbstractAdaptor(object), m_service(service) {}

QString MprisRootAdaptor::DesktopEntry() const {
    return m_service.DesktopEntry();
}

void MprisRootAdaptor::Raise() {
    m_service.Command(RemoteCommand::Raise);
}

void MprisRootAdaptor::Quit() {
    m_service.Command(RemoteCommand::Quit);
}

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* object, MprisService& service)
    : QDBusAbstractAdaptor(object), m_service(service) {}

QString MprisPlayerAdaptor::PlaybackStatus() const {
    return m_service.PlaybackStatus();
}

void MprisPlayerAdaptor::SetRate(double rate) {
    // MPRIS: a rate of 0 is a pause; the player has no other speed to go to.
    if (rate == 0.0)
        Pause();
}

double MprisPlayerAdaptor::Volume() const {
    return m_service.View().volumePercent / 100.0;
}

void MprisPlayerAdaptor::SetVolume(double volume) {
    m_service.SetVolume(volume);
}

bool MprisPlayerAdaptor::Shuffle() const {
    return m_service.View().shuffle;
}

void MprisPlayerAdaptor::SetShuffle(bool shuffle) {
    m_service.SetShuffle(shuffle);
}

QVariantMap MprisPlayerAdaptor::Metadata() const {
    return m_service.Metadata();
}

qlonglong MprisPlayerAdaptor::Position() const {
    return m_service.PositionMicroseconds();
}

bool MprisPlayerAdaptor::CanGoNext() const {
    return m_service.View().canGoNext;
}

bool MprisPlayerAdaptor::CanGoPrevious() const {
    return m_service.View().canGoPrevious;
}

bool MprisPlayerAdaptor::CanPlay() const {
    return m_service.View().canPlay;
}

bool MprisPlayerAdaptor::CanPause() const {
    return m_service.View().canPause;
}

bool MprisPlayerAdaptor::CanSeek() const {
    return m_service.View().canSeek;
}

void MprisPlayerAdaptor::Next() {
    m_service.Command(RemoteCommand::Next);
}

void MprisPlayerAdaptor::Previous() {
    m_service.Command(RemoteCommand::Previous);
}

void MprisPlayerAdaptor::Pause() {
    m_service.Command(RemoteCommand::Pause);
}

void MprisPlayerAdaptor::PlayPause() {
    m_service.Command(RemoteCommand::PlayPause);
}

void MprisPlayerAdaptor::Stop() {
    m_service.Command(RemoteCommand::Stop);
}

void MprisPlayerAdaptor::Play() {
    m_service.Command(RemoteCommand::Play);
}

void MprisPlayerAdaptor::Seek(qlonglong Offset) {
    m_service.SeekBy(Offset);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    m_service.SetPosition(TrackId, Position);
}
