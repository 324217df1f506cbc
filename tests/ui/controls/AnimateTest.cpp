#include "ui/Animate.h"

#include "ControlsFixture.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

class AnimateTest : public TFormFixture {
protected:
    void SetUp() override {
        TFormFixture::SetUp();
        FAnimate = Place(new TAnimate(FForm), 20, 20, 46, 29);
    }

    std::vector<std::uint32_t> Picture() { return TFormFixture::Picture(FAnimate->WindowHandle()); }

    TAnimate* FAnimate = nullptr;
};

constexpr std::uint32_t FolderOutline = 0x785400;  // the clip's folder outline, as 0xRRGGBB

TEST_F(AnimateTest, OpensTheSearchingClipAndShowsItsFrames) {
    FAnimate->SetCommonAVI(aviFindFile);
    ASSERT_TRUE(FAnimate->Opened());
    FAnimate->Seek(1);
    std::vector<std::uint32_t> first = Picture();
    FAnimate->Seek(9);
    std::vector<std::uint32_t> ninth = Picture();
    FAnimate->Seek(1);
    EXPECT_EQ(Picture(), first);
    EXPECT_NE(first, ninth);
    EXPECT_NE(std::find(first.begin(), first.end(), FolderOutline), first.end());
}

TEST_F(AnimateTest, PlaysInALoopUntilStopped) {
    FAnimate->SetCommonAVI(aviFindFile);
    FAnimate->SetStartFrame(1);
    FAnimate->SetStopFrame(17);
    FAnimate->Seek(1);
    const std::vector<std::uint32_t> first = Picture();
    FAnimate->SetActive(true);
    ASSERT_TRUE(FAnimate->Active());
    EXPECT_TRUE(WaitFor([&] { return Picture() != first; }));
    // Looping: the first frame comes round again.
    EXPECT_TRUE(WaitFor([&] { return Picture() == first; }));
    FAnimate->Stop();
    EXPECT_FALSE(FAnimate->Active());
}

TEST_F(AnimateTest, AMissingClipLeavesTheControlClosedAndIdle) {
    FAnimate->SetResName(L"NOSUCHCLIP");
    EXPECT_FALSE(FAnimate->Opened());
    FAnimate->SetActive(true);
    EXPECT_FALSE(FAnimate->Active());
}

TEST_F(AnimateTest, AClipChosenBeforeTheWindowExistsPlaysOnceItDoes) {
    auto* later = new TAnimate(FForm);
    later->SetCommonAVI(aviFindFile);
    later->SetActive(true);
    EXPECT_FALSE(later->Opened());
    Place(later, 100, 20, 46, 29);
    EXPECT_TRUE(later->Opened());
    EXPECT_TRUE(later->Active());
}

}  // namespace
