#pragma once

#include "platform/mpris/RemoteControls.h"
#include "platform/qt/DialogObserver.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

class MprisPlayerAdaptor;

// Owns the player's name on the session bus and the object at /org/mpris/MediaPlayer2. It reads
// the main window through its controls, turns remote commands into the messages those controls
// post, and tells the bus when what it reads has changed.
class MprisService : public QObject, private DialogObserver {
public:
    explicit MprisService(const MainWindowControls& controls);
    ~MprisService() override;

    bool Registered() const { return !m_busName.isEmpty(); }

    // What the adaptors answer.
    PlayerView View() const;
    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    qlonglong PositionMicroseconds() const;
    QString DesktopEntry() const { return QStringLiteral("shufflon"); }

    // What the adaptors ask for. Unknown or refused requests do nothing, as MPRIS wants.
    void Command(RemoteCommand command);
    void SeekBy(qlonglong offsetMicroseconds);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong positionMicroseconds);
    void SetVolume(double volume);
    void SetShuffle(bool shuffle);

private:
    void ControlChanged(CDialog& dialog, CControl& control) override;
    void DialogDestroyed(CDialog& dialog) override;

    QDBusObjectPath TrackId() const;
    // Compares what the window shows with what the bus was told last, and tells the difference.
    void Publish();
    void NoticeJump(const PlayerView& view);

    MainWindowControls m_controls;
    QDBusConnection m_bus;
    QString m_busName;
    CDialog* m_window = nullptr;
    MprisPlayerAdaptor* m_player = nullptr;
    PlayerView m_told;
    quint64 m_track = 0;
    // Where the slider should be by now if the song just played on: a larger difference is a seek.
    QElapsedTimer m_sinceTold;
    QTimer m_lookAgain;
};
