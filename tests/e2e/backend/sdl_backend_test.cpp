#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/backend/sdl/SdlBackend.h"
#include "framework/backend/sdl/SdlCursorCache.h"
#include "framework/backend/sdl/SdlKeyMap.h"
#include "framework/window/Messages.h"

namespace {

TEST(SdlBackend, ParsesTheForcedScreenSize) {
    struct Case {
        const char* text;
        bool ok;
        int w, h;
    } cases[] = {
        {"800x600", true, 800, 600},         {"1024X768", true, 1024, 768}, {"1x1", true, 1, 1},
        {"16384x16384", true, 16384, 16384}, {"16385x600", false, 0, 0},    {"0x600", false, 0, 0},
        {"-800x600", false, 0, 0},           {"800", false, 0, 0},          {"800x", false, 0, 0},
        {"800x600x24", false, 0, 0},         {"800 x 600", false, 0, 0},    {"", false, 0, 0},
        {"99999999999x1", false, 0, 0},      {nullptr, false, 0, 0},
    };
    for (const Case& c : cases) {
        CSize size(7, 7);
        EXPECT_EQ(CSdlBackend::ParseScreenSize(c.text, size), c.ok ? TRUE : FALSE)
            << (c.text ? c.text : "null");
        if (c.ok) {
            EXPECT_EQ(size, CSize(c.w, c.h)) << c.text;
        }
    }
}

TEST(SdlBackend, MapsKeysToVirtualKeys) {
    struct Case {
        int sdl, vk;
    } cases[] = {{SDLK_RETURN, VK_RETURN},
                 {SDLK_KP_ENTER, VK_RETURN},
                 {SDLK_ESCAPE, VK_ESCAPE},
                 {SDLK_LEFT, VK_LEFT},
                 {SDLK_RIGHT, VK_RIGHT},
                 {SDLK_UP, VK_UP},
                 {SDLK_DOWN, VK_DOWN},
                 {SDLK_PAGEUP, VK_PRIOR},
                 {SDLK_PAGEDOWN, VK_NEXT},
                 {SDLK_a, 'A'},
                 {SDLK_z, 'Z'},
                 {SDLK_0, '0'},
                 {SDLK_F4, VK_F4},
                 {SDLK_LSHIFT, VK_SHIFT},
                 {SDLK_CAPSLOCK, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(VirtualKeyFromSdl(c.sdl), c.vk) << c.sdl;
}

class SdlWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!getenv("DISPLAY"))
            GTEST_SKIP() << "no X display";
        setenv(CSdlBackend::SCREEN_ENV, "320x200", 1);
        ASSERT_TRUE(m_backend.Open("sdl backend test")) << m_backend.GetError().GetString();
        unsetenv(CSdlBackend::SCREEN_ENV);
        m_backend.ShowScreen();
        BackendEvent e;
        while (m_backend.NextEvent(e, 200)) {
        }
    }
    static void PushMotion(int x, int y) {
        SDL_Event e = {};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x, e.motion.y = y;
        SDL_PushEvent(&e);
    }
    static void PushButton(Uint32 type, int x, int y) {
        SDL_Event e = {};
        e.type = type;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = x, e.button.y = y;
        SDL_PushEvent(&e);
    }
    CSdlBackend m_backend;
};

TEST_F(SdlWindowTest, TakesTheForcedSize) {
    EXPECT_EQ(m_backend.GetScreenSize(), CSize(320, 200));
    CSurface& s = m_backend.GetSurface();
    EXPECT_EQ(s.width, 320);
    EXPECT_EQ(s.height, 200);
    // Rectangles partly or wholly off the screen are cut, never overrun.
    m_backend.Present({CRect(-50, -50, 10, 10), CRect(300, 190, 900, 900),
                       CRect(500, 500, 600, 600), CRect(5, 5, 5, 5)});
}

TEST_F(SdlWindowTest, MergesRepeatedMotionButKeepsOrder) {
    PushMotion(1, 1);
    PushMotion(2, 2);
    PushMotion(3, 3);
    PushButton(SDL_MOUSEBUTTONDOWN, 3, 3);
    PushMotion(4, 4);
    PushMotion(5, 5);
    PushButton(SDL_MOUSEBUTTONUP, 5, 5);
    struct Want {
        BackendEvent::Kind kind;
        int x, y;
        UINT keyState;
    } wants[] = {{BackendEvent::MouseMove, 3, 3, 0},
                 {BackendEvent::ButtonDown, 3, 3, MK_LBUTTON},
                 {BackendEvent::MouseMove, 5, 5, MK_LBUTTON},
                 {BackendEvent::ButtonUp, 5, 5, 0}};
    for (const Want& w : wants) {
        BackendEvent e;
        ASSERT_TRUE(m_backend.NextEvent(e, 1000));
        EXPECT_EQ(e.kind, w.kind);
        EXPECT_EQ(e.x, w.x);
        EXPECT_EQ(e.y, w.y);
        EXPECT_EQ(e.keyState & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON), w.keyState);
    }
    BackendEvent e;
    EXPECT_FALSE(m_backend.NextEvent(e, 0));
}

TEST_F(SdlWindowTest, MakesEachCursorOnce) {
    BackendImage hand;
    hand.width = hand.height = 8;
    hand.hotX = 2;
    hand.pixels.assign(64, 0xFF000000u);
    BackendImage copy = hand;
    CSdlCursorCache cache;
    cache.Show(&hand);
    cache.Show(&copy);
    cache.Show(nullptr);
    cache.Show(&hand);
    EXPECT_EQ(cache.GetCount(), 1) << "the same picture is one cursor, wherever it lives";
    copy.pixels[5] = 0xFFFFFFFFu;
    cache.Show(&copy);
    EXPECT_EQ(cache.GetCount(), 2);
    BackendImage broken;
    broken.width = 4;
    broken.height = 4; // no pixels
    cache.Show(&broken);
    EXPECT_EQ(cache.GetCount(), 3)
        << "a broken image is remembered as unusable and shows the arrow";
}

} // namespace
