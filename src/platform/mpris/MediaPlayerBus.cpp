#include "platform/mpris/MediaPlayerBus.h"

#include "platform/mpris/MprisService.h"

MediaPlayerBus::MediaPlayerBus(const MainWindowControls& controls)
    : m_service(std::make_unique<MprisService>(controls)) {}

MediaPlayerBus::~MediaPlayerBus() = default;
