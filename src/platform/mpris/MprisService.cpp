#include "platform/mpris/MprisService.h"

#include "platform/mpris/MprisAdaptors.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/Text.h"
#include "platform/ui/Dialog.h"

#include <QApplication>
#include <QDBusMessage>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unistd.h>

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kBusName = QStringLiteral("org.mpris.MediaPlayer2.shufflon");

constexpr qlonglong kMicroseconds = 1'000'000;
// The slider moves in whole seconds at every tick of half a second, so a song that just plays on
// can be up to this far from where the clock says; beyond it the position jumped.
constexpr qint64 kJumpToleranceMs = 2000;

QtBackend* CurrentQtBackend() {
    return dynamic_cast<QtBackend*>(CurrentBackend());
}

// A modal box or dialog keeps the user from the main window's controls.
bool InputBlocked() {
    return QApplication::activeModalWidget() != nullptr;
}

QString StatusName(PlaybackState state) {
    switch (state) {
    case PlaybackState::Playing:
        return QStringLiteral("Playing");
    case PlaybackState::Paused:
        return QStringLiteral("Paused");
    default:
        return QStringLiteral("Stopped");
    }
}

} // namespace

MprisService::MprisService(const MainWindowControls& controls)
    : m_controls(controls), m_bus(QDBusConnection::sessionBus()) {
    if (QtBackend* backend = CurrentQtBackend())
        backend->SetDialogObserver(this);
    if (!m_bus.isConnected())
        return;
    new MprisRootAdaptor(this, *this);
    m_player = new MprisPlayerAdaptor(this, *this);
    if (!m_bus.registerObject(kObjectPath, this))
        return;
    // A second Shufflon still gets the media keys' attention under a name of its own, as MPRIS
    // asks of players that run more than once.
    for (const QString& name :
         {kBusName, kBusName + QStringLiteral(".instance") + QString::number(getpid())}) {
        if (m_bus.registerService(name)) {
            m_busName = name;
            break;
        }
    }
    m_sinceTold.start();
    // The play style, the volume and the way back show in no control, so no control's change
    // tells of theirs (the settings dialog's OK, a request from the bus): they are looked at
    // every second.
    m_lookAgain.setInterval(1000);
    connect(&m_lookAgain, &QTimer::timeout, this, [this] { Publish(); });
    m_lookAgain.start();
}

MprisService::~MprisService() {
    if (QtBackend* backend = CurrentQtBackend())
        backend->SetDialogObserver(nullptr);
    if (Registered()) {
        m_bus.unregisterService(m_busName);
        m_bus.unregisterObject(kObjectPath);
    }
}

PlayerView MprisService::View() const {
    return m_window ? ReadPlayerView(*m_window, m_controls, InputBlocked()) : PlayerView{};
}

QString MprisService::PlaybackStatus() const {
    return StatusName(View().state);
}

QDBusObjectPath MprisService::TrackId() const {
    if (View().title.empty())
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    return QDBusObjectPath(QStringLiteral("/net/shufflon/track/%1").arg(m_track));
}

QVariantMap MprisService::Metadata() const {
    PlayerView view = View();
    QVariantMap metadata;
    if (view.title.empty()) {
        metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackId()));
        return metadata;
    }
    metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackId()));
    metadata.insert(QStringLiteral("xesam:title"), ToQString(view.title));
    if (!view.path.empty())
        metadata.insert(
            QStringLiteral("xesam:url"),
            QUrl::fromLocalFile(QString::fromLocal8Bit(view.path.c_str())).toString(QUrl::FullyEncoded));
    metadata.insert(QStringLiteral("mpris:length"),
                    static_cast<qlonglong>(view.lengthSeconds) * kMicroseconds);
    return metadata;
}

qlonglong MprisService::PositionMicroseconds() const {
    return static_cast<qlonglong>(View().positionSeconds) * kMicroseconds;
}

void MprisService::Command(RemoteCommand command) {
    if (m_window)
        PostRemoteCommand(*m_window, m_controls, command, InputBlocked());
}

void MprisService::SeekBy(qlonglong offsetMicroseconds) {
    if (!m_window)
        return;
    PlayerView view = View();
    qlonglong target = view.positionSeconds * kMicroseconds + offsetMicroseconds;
    // MPRIS: a seek past the end moves on to the next song, one before the start goes to it.
    if (view.canSeek && target > view.lengthSeconds * kMicroseconds)
        Command(RemoteCommand::Next);
    else
        PostSeekTo(*m_window, m_controls, std::max<qlonglong>(target, 0) / kMicroseconds, InputBlocked());
}

void MprisService::SetPosition(const QDBusObjectPath& trackId, qlonglong positionMicroseconds) {
    // MPRIS: a stale track id or a position outside the song is ignored.
    if (!m_window || trackId != TrackId() || positionMicroseconds < 0 ||
        positionMicroseconds > View().lengthSeconds * kMicroseconds)
        return;
    PostSeekTo(*m_window, m_controls, positionMicroseconds / kMicroseconds, InputBlocked());
}

void MprisService::SetVolume(double volume) {
    // MPRIS: a negative volume is 0; the synthesiser goes no louder than its full volume.
    if (m_window)
        PostVolume(*m_window, m_controls, static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
}

void MprisService::SetShuffle(bool shuffle) {
    if (m_window)
        PostShuffle(*m_window, m_controls, shuffle);
}

void MprisService::ControlChanged(CDialog& dialog, CControl&) {
    if (!m_window && dialog.Template().id == m_controls.dialogId)
        m_window = &dialog;
    if (&dialog == m_window)
        Publish();
}

void MprisService::DialogDestroyed(CDialog& dialog) {
    if (&dialog == m_window) {
        m_window = nullptr;
        Publish();
    }
}

void MprisService::Publish() {
    PlayerView view = View();
    if (view == m_told)
        return;
    PlayerView before = m_told;
    if (view.title != before.title && !view.title.empty())
        ++m_track;
    NoticeJump(view);
    m_told = view;
    if (!Registered())
        return;
    QVariantMap changed;
    if (view.state != before.state)
        changed.insert(QStringLiteral("PlaybackStatus"), StatusName(view.state));
    if (view.title != before.title || view.path != before.path || view.lengthSeconds != before.lengthSeconds)
        changed.insert(QStringLiteral("Metadata"), Metadata());
    if (view.canPlay != before.canPlay)
        changed.insert(QStringLiteral("CanPlay"), view.canPlay);
    if (view.canPause != before.canPause)
        changed.insert(QStringLiteral("CanPause"), view.canPause);
    if (view.canGoNext != before.canGoNext)
        changed.insert(QStringLiteral("CanGoNext"), view.canGoNext);
    if (view.canGoPrevious != before.canGoPrevious)
        changed.insert(QStringLiteral("CanGoPrevious"), view.canGoPrevious);
    if (view.shuffle != before.shuffle)
        changed.insert(QStringLiteral("Shuffle"), view.shuffle);
    if (view.volumePercent != before.volumePercent)
        changed.insert(QStringLiteral("Volume"), view.volumePercent / 100.0);
    if (view.canSeek != before.canSeek)
        changed.insert(QStringLiteral("CanSeek"), view.canSeek);
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    m_bus.send(signal);
}

void MprisService::NoticeJump(const PlayerView& view) {
    qint64 elapsedMs = m_sinceTold.isValid() ? m_sinceTold.restart() : 0;
    if (!m_player || view.title.empty() || view.title != m_told.title)
        return;
    qint64 expectedMs =
        m_told.positionSeconds * 1000LL + (m_told.state == PlaybackState::Playing ? elapsedMs : 0);
    if (std::llabs(view.positionSeconds * 1000LL - expectedMs) > kJumpToleranceMs)
        Q_EMIT m_player->Seeked(static_cast<qlonglong>(view.positionSeconds) * kMicroseconds);
}
