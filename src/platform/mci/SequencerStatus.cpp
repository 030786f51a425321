// The commands that report and set the device's properties: status and set.

#include "platform/mci/Sequencer.h"

namespace mci {

MCIERROR Sequencer::Status(Device& device, DWORD flags, MCI_STATUS_PARMS* params, NoticeList& notices) {
    if (!params)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (!(flags & MCI_STATUS_ITEM))
        return MCIERR_MISSING_PARAMETER;
    Refresh(device);
    switch (params->dwItem) {
    case MCI_STATUS_LENGTH:
        params->dwReturn = device.song->lengthMs;
        break;
    case MCI_STATUS_POSITION:
        params->dwReturn = PositionMs(device);
        break;
    case MCI_STATUS_MODE:
        params->dwReturn = device.playing ? MCI_MODE_PLAY : MCI_MODE_STOP;
        break;
    case MCI_STATUS_READY:
        params->dwReturn = TRUE;
        break;
    case MCI_STATUS_TIME_FORMAT:
        params->dwReturn = MCI_FORMAT_MILLISECONDS;
        break;
    case MCI_STATUS_NUMBER_OF_TRACKS:
        // Format 2 songs hold independent sequences; the others play as one.
        params->dwReturn = device.song->format == 2 ? device.song->trackCount : 1;
        break;
    case MCI_SEQ_STATUS_PORT:
        params->dwReturn = m_port.value_or(MCI_SEQ_MAPPER);
        break;
    default:
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
    if (flags & MCI_NOTIFY)
        notices.Add(params->dwCallback, MCI_NOTIFY_SUCCESSFUL, device.id);
    return 0;
}

MCIERROR Sequencer::Set(Device& device, DWORD flags, MCI_SET_PARMS* params, NoticeList& notices) {
    if (!params)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (flags & ~(MCI_SET_TIME_FORMAT | MCI_NOTIFY | MCI_WAIT))
        return MCIERR_UNSUPPORTED_FUNCTION;
    if (!(flags & MCI_SET_TIME_FORMAT))
        return MCIERR_MISSING_PARAMETER;
    // Milliseconds are the only time format offered; song pointers and SMPTE are refused.
    if (params->dwTimeFormat != MCI_FORMAT_MILLISECONDS)
        return MCIERR_BAD_TIME_FORMAT;
    if (flags & MCI_NOTIFY)
        notices.Add(params->dwCallback, MCI_NOTIFY_SUCCESSFUL, device.id);
    return 0;
}

} // namespace mci
