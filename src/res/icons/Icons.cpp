#include "res/icons/Icons.h"

#include "res/Resource.h"
#include "res/icons/CheckBoxArt.h"
#include "res/icons/DogArt.h"
#include "res/icons/HeadphonesArt.h"
#include "res/icons/HeadphonesDrawing.h"
#include "res/icons/IconGrid.h"

#include <string>

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
constexpr auto kDog1 = detail::DecodeGrid(art::kDogRun1);
constexpr auto kDog2 = detail::DecodeGrid(art::kDogRun2);
constexpr auto kDog3 = detail::DecodeGrid(art::kDogRun3);
constexpr auto kDog4 = detail::DecodeGrid(art::kDogRun4);
constexpr auto kDog5 = detail::DecodeGrid(art::kDogRun5);
constexpr auto kDog6 = detail::DecodeGrid(art::kDogRun6);
constexpr auto kDogStanding = detail::DecodeGrid(art::kDogStanding);

struct IconEntry {
    int id;
    IconImage image;
};

// The dog exists at 32x32 only: it runs across a window, never in the tray or a list.
constexpr IconEntry kIcons[] = {
    {IDI_HEADPHONES, {16, 16, kHeadphones16.data()}},  {IDI_HEADPHONES, {32, 32, kHeadphones32.data()}},
    {IDI_IDLE, {16, 16, kHeadphonesCrossed16.data()}}, {IDI_IDLE, {32, 32, kHeadphonesCrossed32.data()}},
    {IDI_PLAYED, {16, 16, kBoxTicked16.data()}},       {IDI_PLAYED, {32, 32, kBoxTicked32.data()}},
    {IDI_UNPLAYED, {16, 16, kBoxEmpty16.data()}},      {IDI_UNPLAYED, {32, 32, kBoxEmpty32.data()}},
    {IDI_DOG_FIRST + 0, {32, 32, kDog1.data()}},       {IDI_DOG_FIRST + 1, {32, 32, kDog2.data()}},
    {IDI_DOG_FIRST + 2, {32, 32, kDog3.data()}},       {IDI_DOG_FIRST + 3, {32, 32, kDog4.data()}},
    {IDI_DOG_FIRST + 4, {32, 32, kDog5.data()}},       {IDI_DOG_FIRST + 5, {32, 32, kDog6.data()}},
    {IDI_DOG_LAST, {32, 32, kDogStanding.data()}},
};

// The red stroke of the crossed-out headphones, as the pictures have it: a dark edge around a
// bright line from the top left to the bottom right, drawn over the headphones.
constexpr std::string_view kCrossOut =
    R"(<path d="M 34 34 L 222 222" stroke="#a01010" stroke-width="34" stroke-linecap="round"/>)"
    R"(<path d="M 34 34 L 222 222" stroke="#e0201c" stroke-width="22" stroke-linecap="round"/>)";

std::string CrossedOut(std::string_view drawing) {
    const std::size_t end = drawing.rfind("</svg>");
    if (end == std::string_view::npos)
        return {};
    std::string crossed(drawing.substr(0, end));
    crossed += kCrossOut;
    crossed += drawing.substr(end);
    return crossed;
}

} // namespace

const IconImage* FindIcon(int id, int size) {
    for (const IconEntry& entry : kIcons) {
        if (entry.id == id && entry.image.width == size)
            return &entry.image;
    }
    return nullptr;
}

std::string_view FindIconDrawing(int id) {
    static const std::string crossed = CrossedOut(detail::kHeadphonesDrawing);
    switch (id) {
    case IDI_HEADPHONES:
        return detail::kHeadphonesDrawing;
    case IDI_IDLE:
        return crossed;
    default:
        return {};
    }
}

BoxMark BoxMarkOf(int id) {
    switch (id) {
    case IDI_PLAYED:
        return BoxMark::Ticked;
    case IDI_UNPLAYED:
        return BoxMark::Empty;
    default:
        return BoxMark::NotABox;
    }
}

} // namespace res
