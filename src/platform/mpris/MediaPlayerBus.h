#pragma once

#include "platform/mpris/RemoteControls.h"

#include <memory>

class MprisService;

// The program on the session bus as a media player (MPRIS 2), so that media keys and the
// desktop's media controls reach it. Construct it after the Qt backend and before the main window;
// it finds the window when the window is made. Without a session bus it does nothing, silently.
class MediaPlayerBus {
public:
    explicit MediaPlayerBus(const MainWindowControls& controls);
    ~MediaPlayerBus();
    MediaPlayerBus(const MediaPlayerBus&) = delete;
    MediaPlayerBus& operator=(const MediaPlayerBus&) = delete;

private:
    std::unique_ptr<MprisService> m_service;
};
