#include "platform/mci/Mci.h"
#include "platform/ui/Backend.h"
#include "res/Resource.h"
#include "res/icons/Icons.h"
#include "res/sounds/Sounds.h"
#include "songlist/AboutDlg.h"

#include <vector>

namespace {

constexpr int kStripTop = 15;
constexpr int kFrameSize = 32;
constexpr int kStep = 10;
constexpr std::uint32_t kFrameMilliseconds = 60;
constexpr int kShownFrames = 6; // the seventh is loaded with the others but never shown

} // namespace

void RunDogAnimation(CDialog& dialog) {
    Backend* backend = CurrentBackend();
    if (!backend || !dialog.HasView())
        return;
    const int width = backend->ClientWidth(dialog);

    // The sound goes on by itself; without a sound output the dog runs silently.
    std::span<const std::uint8_t> sound = res::FindWave(IDR_DOGSOUND);
    mci::PlaySoundMemory(sound.data(), sound.size());

    std::vector<int> frames;
    for (int id = IDI_DOG_FIRST; id <= IDI_DOG_LAST; ++id) {
        if (res::FindIcon(id, kFrameSize))
            frames.push_back(id);
    }
    CMemoryDC strip = backend->CopyFromDialog(dialog, 0, kStripTop, width, kFrameSize);
    if (strip.IsEmpty() || frames.size() < static_cast<std::size_t>(kShownFrames)) {
        backend->EndDialogDrawing(dialog);
        return;
    }

    // Each frame first puts back the background where the one before it was, then draws the
    // next picture 10 pixels further left, so the dog runs from the right edge to just past the
    // left one.
    const int n = width / kStep + 1;
    int x = width + kStep;
    for (int i = 0; i <= n; ++i) {
        backend->BltToDialog(dialog, x, kStripTop, kFrameSize, kFrameSize, strip, x, 0);
        backend->DrawIconOnDialog(dialog, x - kStep, kStripTop,
                                  frames[static_cast<std::size_t>(i % kShownFrames)]);
        backend->Block(kFrameMilliseconds);
        x -= kStep;
    }
    backend->BltToDialog(dialog, 0, kStripTop, width, kFrameSize, strip, 0, 0);
    backend->EndDialogDrawing(dialog);
}
