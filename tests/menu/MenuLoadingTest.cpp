// The loading screen: the fade of the last menu picture, the wheels of its altimeter and the
// moment the flight starts.
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <thread>

#include "app/FSApplicationContext.h"
#include "menu/CSPMenu.h"
#include "menu/CSPMenuStateLoading.h"
#include "platform/FSClock.h"
#include "platform/FSNullDisplay.h"

namespace {

TEST(MenuLoading, WheelsShowEachDecimalOfTheTimeAndWrapAtAHundredSeconds) {
    const struct {
        int32_t elapsed;
        int orientation;
        int offsets[5];
    } cases[] = {
        {12345, 1, {17, 33, 49, 57, 71}},   {0, 1, {0, 0, 0, 0, 0}},
        {100000, 1, {0, 0, 0, 0, 0}},       {100000, 2, {143, 143, 143, 143, 143}},
        {-1, 1, {142, 142, 142, 128, 128}}, {12345, 0, {0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        int offsets[5];
        CSPMenuStateLoading::WheelOffsets(c.elapsed, c.orientation, offsets);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(offsets[i], c.offsets[i]) << c.elapsed << " " << c.orientation << " wheel " << i;
    }
}

TEST(MenuLoading, TheMenuPictureFadesToAFifthThenTheFlightStarts) {
    CFSNullDisplay display;
    CFSApplicationContext* context = GetApplicationContext();
    context->display = &display;
    context->menuOrientation = 2;
    platform::UseVirtualClock(1000);
    int started = 0;
    CSPMenu menu("/nonexistent/menu.zip");
    // The flight is built while the loading thread draws the menu: the picture lock is free.
    menu.SetScreen(5, std::make_unique<CSPMenuStateLoading>([&] {
                       std::thread loading([&] {
                           std::unique_lock<std::recursive_mutex> lock(menu.Resources().pictureLock,
                                                                       std::try_to_lock);
                           started += lock.owns_lock() ? 1 : 100;
                       });
                       loading.join();
                   }));
    // A white menu picture, shown as the menu shows it.
    std::fill(menu.Resources().screen.begin(), menu.Resources().screen.end(), uint16_t{0xFFFF});
    menu.SwitchScreen(5, 0);
    const struct {
        uint32_t at;
        uint16_t red;  // of the device frame's first pixel, 5 bits
        int started;
    } steps[] = {{0, 31, 0}, {250, 18, 0}, {500, 6, 0}, {501, 6, 1}, {600, 6, 1}};
    uint32_t now = 0;
    for (const auto& s : steps) {
        platform::AdvanceVirtualClock(s.at - now);
        now = s.at;
        menu.UpdateAndDraw(0);
        const std::vector<uint16_t> frame = display.LastFrame();
        ASSERT_FALSE(frame.empty());
        EXPECT_NEAR(frame[0] >> 11, s.red, 1) << s.at;
        EXPECT_EQ(started, s.started) << s.at;
    }
    platform::UseRealClock();
    context->display = nullptr;
}

}  // namespace
