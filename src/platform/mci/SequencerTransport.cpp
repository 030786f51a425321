// The commands that move the song: play, seek and stop.

#include "platform/mci/Chase.h"
#include "platform/mci/MciExtras.h"
#include "platform/mci/Sequencer.h"

namespace mci {

MCIERROR Sequencer::Play(Device& device, DWORD flags, MCI_PLAY_PARMS* params, NoticeList& notices) {
    if ((flags & (MCI_FROM | MCI_TO | MCI_NOTIFY)) && !params)
        return MCIERR_NULL_PARAMETER_BLOCK;
    const PlayableSong& song = *device.song;
    Refresh(device);
    if (AnotherIsPlaying(device))
        return MCIERR_SEQ_PORT_INUSE;
    const std::uint32_t fromMs = (flags & MCI_FROM) ? params->dwFrom : PositionMs(device);
    const std::uint32_t toMs = (flags & MCI_TO) ? params->dwTo : song.lengthMs;
    if (fromMs > song.lengthMs || toMs > song.lengthMs || toMs < fromMs)
        return MCIERR_OUTOFRANGE;
    if (const MCIERROR error = GetOutput().PrepareForSong())
        return error;
    Engine& engine = GetOutput().GetEngine();

    // A play from a given position starts over there; a play without one goes on from where the
    // device stands, and if it is playing, the running play simply continues.
    if (device.playing && (flags & MCI_FROM))
        Halt(device, MCI_NOTIFY_ABORTED, notices);
    const bool continuing = device.playing;
    const std::uint64_t start =
        (flags & MCI_FROM) ? std::min(FrameOfMs(fromMs), song.endFrame) : CurrentFrame(device);
    const std::uint64_t end = (flags & MCI_TO) ? std::min(FrameOfMs(toMs), song.endFrame) : song.endFrame;

    // The notice the running play owes: cut short if the end moves, replaced by a new one.
    if (continuing && end != device.playEnd && engine.TakeNotice(device.notice)) {
        notices.Add(device.noticeWindow, MCI_NOTIFY_ABORTED, device.id);
        device.notice = 0;
    }
    std::uint32_t notice = 0;
    if (flags & MCI_NOTIFY) {
        if (engine.TakeNotice(device.notice))
            notices.Add(device.noticeWindow, MCI_NOTIFY_SUPERSEDED, device.id);
        notice = NextSerial();
        engine.OweNotice(notice);
    }

    // The first play of a song on this sink loads what the song needs; the play waits for that in
    // the engine's queue, never in the audio callback.
    Output& output = GetOutput();
    if (!continuing && device.preparedFor != output.SinkGeneration()) {
        output.PrepareSong(device.song);
        device.preparedFor = output.SinkGeneration();
    }

    EngineCommand play;
    play.kind = EngineCommand::Kind::Play;
    play.song = &song;
    play.startFrame = start;
    play.endFrame = end;
    play.serial = NextSerial();
    play.continues = continuing ? device.serial : 0;
    play.keepNotice = continuing && !(flags & MCI_NOTIFY);
    play.notice = notice;
    play.device = device.id;
    play.window = (flags & MCI_NOTIFY) ? params->dwCallback : device.noticeWindow;
    std::shared_ptr<const ChaseList> chase;
    if (!continuing && start > 0) {
        chase = std::make_shared<const ChaseList>(BuildChase(song, start));
        play.chase = chase.get();
    }
    if (!Submit(play)) {
        engine.TakeNotice(notice);
        return MCIERR_HARDWARE;
    }
    Bury(std::move(chase));

    device.playing = true;
    device.serial = play.serial;
    device.playStart = start;
    device.playEnd = end;
    if (flags & MCI_NOTIFY) {
        device.notice = notice;
        device.noticeWindow = params->dwCallback;
    } else if (!continuing) {
        device.notice = 0;
    }

    if (flags & MCI_WAIT) {
        // What this play cut short is told before the play's own end is.
        notices.PostAll();
        notices.Clear();
        const MCIERROR error = GetOutput().WaitForEnd(play.serial);
        Refresh(device);
        if (error) {
            Halt(device, MCI_NOTIFY_ABORTED, notices);
            return error;
        }
    }
    return 0;
}

MCIERROR Sequencer::Seek(Device& device, DWORD flags, MCI_SEEK_PARMS* params, NoticeList& notices) {
    if (!params)
        return MCIERR_NULL_PARAMETER_BLOCK;
    const DWORD target = flags & (MCI_SEEK_TO_START | MCI_SEEK_TO_END | MCI_TO);
    if (target == 0)
        return MCIERR_MISSING_PARAMETER;
    if ((target & (target - 1)) != 0)
        return MCIERR_FLAGS_NOT_COMPATIBLE;
    const PlayableSong& song = *device.song;
    // Like a position for play, a position for seek must lie within the song.
    if ((flags & MCI_TO) && params->dwTo > song.lengthMs)
        return MCIERR_OUTOFRANGE;
    Refresh(device);
    if (device.playing)
        Halt(device, MCI_NOTIFY_ABORTED, notices);
    if (target == MCI_SEEK_TO_START)
        device.position = 0;
    else if (target == MCI_SEEK_TO_END)
        device.position = song.endFrame;
    else
        device.position = std::min(FrameOfMs(params->dwTo), song.endFrame);
    if (flags & MCI_NOTIFY)
        notices.Add(params->dwCallback, MCI_NOTIFY_SUCCESSFUL, device.id);
    return 0;
}

MCIERROR Sequencer::Stop(Device& device, DWORD flags, MCI_GENERIC_PARMS* params, NoticeList& notices) {
    Refresh(device);
    if (device.playing)
        Halt(device, MCI_NOTIFY_ABORTED, notices);
    if ((flags & MCI_NOTIFY) && params)
        notices.Add(params->dwCallback, MCI_NOTIFY_SUCCESSFUL, device.id);
    return 0;
}

} // namespace mci
