#include "res/icons/Icons.h"

#include "res/Resource.h"
#include "res/icons/CheckBoxArt.h"
#include "res/icons/HeadphonesArt.h"
#include "res/icons/IconGrid.h"

namespace res {
namespace {

// Decoded at compile time, so there is nothing to initialise at start and nothing to guard.
constexpr auto kHeadphones16 = detail::DecodeGrid(art::kHeadphones16);
constexpr auto kHeadphones32 = detail::DecodeGrid(art::kHeadphones32);
constexpr auto kHeadphonesCrossed16 = detail::DecodeGrid(art::kHeadphonesCrossed16);
constexpr auto kHeadphonesCrossed32 = detail::DecodeGrid(art::kHeadphonesCrossed32);
constexpr auto kBoxTicked16 = detail::DecodeGrid(art::kBoxTicked16);
constexpr auto kBoxTicked32 = detail::DecodeGrid(art::kBoxTicked32);
constexpr auto kBoxEmpty16 = detail::DecodeGrid(art::kBoxEmpty16);
constexpr auto kBoxEmpty32 = detail::DecodeGrid(art::kBoxEmpty32);

struct IconEntry {
    int id;
    IconImage image;
};

constexpr IconEntry kIcons[] = {
    {IDI_HEADPHONES, {16, 16, kHeadphones16.data()}},  {IDI_HEADPHONES, {32, 32, kHeadphones32.data()}},
    {IDI_IDLE, {16, 16, kHeadphonesCrossed16.data()}}, {IDI_IDLE, {32, 32, kHeadphonesCrossed32.data()}},
    {IDI_PLAYED, {16, 16, kBoxTicked16.data()}},       {IDI_PLAYED, {32, 32, kBoxTicked32.data()}},
    {IDI_UNPLAYED, {16, 16, kBoxEmpty16.data()}},      {IDI_UNPLAYED, {32, 32, kBoxEmpty32.data()}},
};

} // namespace

const IconImage* FindIcon(int id, int size) {
    for (const IconEntry& entry : kIcons) {
        if (entry.id == id && entry.image.width == size)
            return &entry.image;
    }
    return nullptr;
}

} // namespace res
