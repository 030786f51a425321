#include "AppFixture.h"
#include "platform/sys/SystemInfo.h"
#include "res/dialogs/MainDialog.h"
#include "res/icons/Icons.h"
#include "songlist/AboutDlg.h"

#include <regex>
#include <tuple>

// The About box and its hidden dog, on the headless backend.

namespace {

constexpr COLORREF kGrey = HeadlessBackend::kDialogColour;

TEST(AboutLines, MemoryAndDiskFromTheFiguresGiven) {
    EXPECT_EQ(FormatMemoryLine(16777216), "16384 KB");
    EXPECT_EQ(FormatMemoryLine(1023), "0 KB");
    EXPECT_EQ(FormatMemoryLine(std::uint64_t{64} << 30), "67108864 KB") << "past 4 GB";
    EXPECT_EQ(FormatDiskLine(DiskSpace{100ull * 64 * 512, "/"}), "3200 KB Free on /");
    EXPECT_EQ(FormatDiskLine(DiskSpace{(std::uint64_t{5} << 40) + 1023, "/home"}),
              "5368709120 KB Free on /home");
    EXPECT_EQ(FormatDiskLine(std::nullopt), "Unavailable");
}

TEST(AboutLines, FreeSpaceNamesTheMountPointOfThePath) {
    std::optional<DiskSpace> root = FreeDiskSpace("/");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->mountPoint, "/");
    std::string here = std::filesystem::current_path().string();
    std::optional<DiskSpace> space = FreeDiskSpace(here);
    ASSERT_TRUE(space);
    EXPECT_EQ(here.rfind(space->mountPoint, 0), 0u) << space->mountPoint << " is not above " << here;
    EXPECT_FALSE(FreeDiskSpace("/no/such/folder/anywhere"));
    EXPECT_FALSE(FreeDiskSpace(""));
    EXPECT_GT(TotalPhysicalMemory(), std::uint64_t{1} << 20);
}

TEST(IconButton, DoubledIconInABlackFrameWithAShadow) {
    CDialog dialog(kMainDialogTemplate);
    CIconButton button(dialog);
    CMemoryDC dc(72, 72, kGrey);
    button.DrawItem(dc);
    const res::IconImage& icon = *res::FindIcon(IDI_HEADPHONES, 32);
    for (int i = 0; i < 68; ++i) {
        EXPECT_EQ(dc.Pixel(i, 0), BLACK_PEN) << i;
        EXPECT_EQ(dc.Pixel(0, i), BLACK_PEN) << i;
        EXPECT_EQ(dc.Pixel(i, 67), BLACK_PEN) << i;
        EXPECT_EQ(dc.Pixel(67, i), BLACK_PEN) << i;
    }
    EXPECT_EQ(dc.Pixel(1, 1), WHITE_BRUSH) << "the frame's filling shows between frame and icon";
    for (int i = 4; i < 72; ++i) {
        EXPECT_EQ(dc.Pixel(70, i), DKGRAY_BRUSH) << i;
        EXPECT_EQ(dc.Pixel(i, 70), DKGRAY_BRUSH) << i;
    }
    EXPECT_EQ(dc.Pixel(70, 1), kGrey) << "the shadow starts 4 pixels down";
    EXPECT_EQ(dc.Pixel(1, 70), kGrey);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            std::uint32_t pixel = icon.argb[y * 32 + x];
            std::uint32_t expected = (pixel >> 24) ? pixel : kGrey;
            ASSERT_EQ(dc.Pixel(2 + 2 * x, 2 + 2 * y), expected) << x << "," << y;
            ASSERT_EQ(dc.Pixel(3 + 2 * x, 3 + 2 * y), expected) << x << "," << y;
        }
    }
}

class AboutBoxTest : public AppTest {
protected:
    // The About box, open modeless so the test can drive it.
    CAboutDlg& OpenAbout(int clientWidth = 390) {
        m_backend.SetClientWidth(IDD_ABOUTBOX, clientWidth);
        m_about = std::make_unique<CAboutDlg>();
        m_about->Create();
        return *m_about;
    }
    void DoubleClickIcon() {
        PostMessage(m_about->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_ABOUTICON, BN_DOUBLECLICKED), 0);
        m_backend.RunPending();
    }
    std::vector<HeadlessBackend::Drawing> Drawn(HeadlessBackend::Drawing::Kind kind) {
        std::vector<HeadlessBackend::Drawing> out;
        for (const auto& drawing : m_backend.Drawings()) {
            if (drawing.kind == kind)
                out.push_back(drawing);
        }
        return out;
    }

    std::unique_ptr<CAboutDlg> m_about;
};

// A window that notes when its messages come, counted in drawings made so far.
class Spy : public CWnd {
public:
    explicit Spy(HeadlessBackend& backend) : m_backend(backend) { RegisterHandle(); }
    LRESULT WindowProc(UINT message, WPARAM, LPARAM) override {
        (message == WM_TIMER ? ticks : posted).push_back(m_backend.Drawings().size());
        return 0;
    }
    std::vector<std::size_t> ticks, posted;

private:
    HeadlessBackend& m_backend;
};

TEST_F(AboutBoxTest, OpensFromTheButtonAndTheSystemMenuWithTheMachinesFigures) {
    Start();
    // Posted behind the command, the probe comes inside the About box's modal loop.
    struct Probe : CWnd {
        Probe(HeadlessBackend& b) : backend(b) { RegisterHandle(); }
        LRESULT WindowProc(UINT, WPARAM, LPARAM) override {
            auto* about = static_cast<CDialog*>(CWnd::FromHandle(backend.LiveDialog(IDD_ABOUTBOX)));
            if (about) {
                texts.push_back(about->GetDlgItemText(IDC_PHYSMEM) + "|" +
                                about->GetDlgItemText(IDC_DISKSPACE));
                about->PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
            return 0;
        }
        HeadlessBackend& backend;
        std::vector<std::string> texts;
    } probe(m_backend);

    PostMessage(Dialog().GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED), 0);
    PostMessage(probe.GetSafeHwnd(), WM_USER, 0, 0);
    m_backend.RunPending();
    PostMessage(Dialog().GetSafeHwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    PostMessage(probe.GetSafeHwnd(), WM_USER, 0, 0);
    m_backend.RunPending();

    ASSERT_EQ(probe.texts.size(), 2u);
    // Free space moves with whatever else writes to the disk; its form and mount point do not.
    const std::regex line(FormatMemoryLine(TotalPhysicalMemory()) + "\\|[0-9]+ KB Free on " +
                          FreeDiskSpace(SongsFolder())->mountPoint);
    for (const std::string& text : probe.texts)
        EXPECT_TRUE(std::regex_match(text, line)) << text;
    EXPECT_EQ(m_backend.LiveDialog(IDD_ABOUTBOX), 0u) << "the box is gone after OK";
}

TEST_F(AboutBoxTest, DiskLineOfADeletedCurrentFolderIsUnavailable) {
    std::filesystem::create_directories(m_root / "gone");
    std::filesystem::current_path(m_root / "gone");
    std::filesystem::remove(m_root / "gone");
    CAboutDlg& about = OpenAbout();
    EXPECT_EQ(about.GetDlgItemText(IDC_DISKSPACE), "Unavailable");
    EXPECT_EQ(about.GetDlgItem(IDC_ABOUTICON)->PixelWidth(), 72);
    EXPECT_EQ(about.GetDlgItem(IDC_ABOUTICON)->PixelHeight(), 72);
}

TEST_F(AboutBoxTest, HintsLeadToTheDog) {
    struct Case {
        std::vector<int> keys;
        bool animates;
    };
    const Case cases[] = {
        {{}, false}, {{VK_CONTROL}, false}, {{VK_SHIFT}, false}, {{VK_CONTROL, VK_SHIFT}, true}};
    CAboutDlg& about = OpenAbout();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys.size());
        std::size_t boxes = m_backend.Boxes().size();
        std::size_t drawings = m_backend.Drawings().size();
        m_backend.SetKeysDown(c.keys);
        DoubleClickIcon();
        EXPECT_EQ(m_backend.Drawings().size() > drawings, c.animates);
        ASSERT_EQ(m_backend.Boxes().size(), boxes + (c.animates ? 0 : 1));
        if (!c.animates) {
            EXPECT_EQ(m_backend.Boxes().back().text,
                      "Perfect!\nNow doubleclick on THIS BIG ICON with CTRL+SHIFT!");
            EXPECT_EQ(m_backend.Boxes().back().caption, "SHF Hidden DOG");
            EXPECT_EQ(m_backend.Boxes().back().style, MB_OK | MB_ICONINFORMATION);
        }
    }

    // The background gives the first hint, whatever keys are held; a single click on the icon nothing.
    std::size_t boxes = m_backend.Boxes().size();
    PostMessage(about.GetSafeHwnd(), WM_LBUTTONDBLCLK, 0, 0x00500040);
    PostMessage(about.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_ABOUTICON, BN_CLICKED), 0);
    m_backend.RunPending();
    ASSERT_EQ(m_backend.Boxes().size(), boxes + 1);
    EXPECT_EQ(m_backend.Boxes().back().text, "Hi!\nTry this on THE BIG ICON!");
    EXPECT_EQ(m_backend.Boxes().back().caption, "SHF Hidden DOG");
    EXPECT_TRUE(about.HasView());
}

TEST_F(AboutBoxTest, DogRunsFromTheRightEdgeToPastTheLeftOne) {
    struct Case {
        int width;
        int frames; // W / 10 + 2
    };
    for (Case c : {Case{390, 41}, Case{20, 4}, Case{5, 2}}) {
        SCOPED_TRACE(c.width);
        std::size_t first = m_backend.Drawings().size();
        OpenAbout(c.width);
        m_backend.SetKeysDown({VK_CONTROL, VK_SHIFT});
        std::uint64_t blocked = m_backend.BlockedMilliseconds();
        DoubleClickIcon();
        std::vector<HeadlessBackend::Drawing> drawn(m_backend.Drawings().begin() + static_cast<long>(first),
                                                    m_backend.Drawings().end());
        ASSERT_EQ(drawn.size(), 2u * c.frames + 2);
        for (int i = 0; i < c.frames; ++i) {
            const auto& restore = drawn[2u * i];
            const auto& frame = drawn[2u * i + 1];
            int x = c.width - 10 * i;
            EXPECT_EQ(restore.kind, HeadlessBackend::Drawing::Blt);
            EXPECT_EQ(std::tie(restore.x, restore.y, restore.width, restore.height, restore.sourceX,
                               restore.sourceY),
                      std::make_tuple(x + 10, 15, 32, 32, x + 10, 0))
                << "frame " << i << " first puts back what the one before covered";
            EXPECT_EQ(frame.kind, HeadlessBackend::Drawing::Icon);
            EXPECT_EQ(std::tie(frame.iconId, frame.x, frame.y), std::make_tuple(IDI_DOG_FIRST + i % 6, x, 15))
                << i;
        }
        const auto& strip = drawn[drawn.size() - 2];
        EXPECT_EQ(std::tie(strip.kind, strip.x, strip.y, strip.width, strip.height),
                  std::make_tuple(HeadlessBackend::Drawing::Blt, 0, 15, c.width, 32))
            << "the whole strip comes back at the end";
        EXPECT_EQ(drawn.back().kind, HeadlessBackend::Drawing::End);
        EXPECT_EQ(m_backend.BlockedMilliseconds() - blocked, 60u * c.frames);
    }
}

TEST_F(AboutBoxTest, NoRoomNoDogAndNoHang) {
    OpenAbout(0);
    m_backend.SetKeysDown({VK_CONTROL, VK_SHIFT});
    DoubleClickIcon();
    EXPECT_TRUE(Drawn(HeadlessBackend::Drawing::Icon).empty());
    EXPECT_EQ(Drawn(HeadlessBackend::Drawing::End).size(), 1u);
    EXPECT_EQ(m_backend.BlockedMilliseconds(), 0u);
}

TEST_F(AboutBoxTest, NothingIsHandledWhileTheDogRunsAndTheDueTickComesAfter) {
    OpenAbout(390);
    Spy spy(m_backend);
    m_backend.SetTimer(spy.GetSafeHwnd(), 7, 500);
    m_backend.SetKeysDown({VK_CONTROL, VK_SHIFT});
    PostMessage(m_about->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_ABOUTICON, BN_DOUBLECLICKED), 0);
    PostMessage(spy.GetSafeHwnd(), WM_USER, 0, 0);
    m_backend.RunPending();

    const std::size_t all = m_backend.Drawings().size();
    ASSERT_EQ(all, 2u * 41 + 2);
    ASSERT_EQ(spy.posted.size(), 1u);
    EXPECT_EQ(spy.posted[0], all) << "the message posted behind the double click waits for the dog";
    ASSERT_EQ(spy.ticks.size(), 1u) << "2.46 s of held thread leave one tick waiting, not four";
    EXPECT_EQ(spy.ticks[0], all);
    m_backend.KillTimer(spy.GetSafeHwnd(), 7);
}

} // namespace
