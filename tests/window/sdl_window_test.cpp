// The real window: opens under Xvfb, runs frames at the display's pace, and an Esc key event
// sent through SDL's own queue ends the pump, after which shut-down runs.

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "app/startup.h"
#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/platform.h"

TEST(SdlWindow, OpensRunsFramesAndQuitsOnEsc) {
    ASSERT_TRUE(platformOpen());
    SDL_Window* window = SDL_GetWindowFromID(1);
    ASSERT_NE(window, nullptr);
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 720);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Skarnwing");
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE, 0u);

    auto game = std::make_unique<GameState>();
    auto gameAssets = std::make_unique<GameAssets>();
    runStartUp(*game, *gameAssets, 1);
    int frames = 0;
    while (frames < 30 && pumpOnce(*game)) ++frames;
    ASSERT_EQ(frames, 30);
    EXPECT_EQ(game->titleShown, 1);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Skarnwing 0.61 - 0 fps");

    SDL_Event esc;
    SDL_zero(esc);
    esc.type = SDL_KEYDOWN;
    esc.key.keysym.sym = SDLK_ESCAPE;
    esc.key.state = SDL_PRESSED;
    SDL_PushEvent(&esc);
    int extra = 0;
    while (pumpOnce(*game)) ASSERT_LT(++extra, 5) << "Esc did not end the pump";
    EXPECT_EQ(extra, 1) << "the frame that saw Esc completes, then the pump ends";
    EXPECT_EQ(game->keys[kVkEsc], 1);

    runShutDown(*game);
    platformClose();
}

TEST(SdlWindow, ClosingTheWindowEndsThePumpBeforeAnotherFrame) {
    ASSERT_TRUE(platformOpen());
    auto game = std::make_unique<GameState>();
    auto gameAssets = std::make_unique<GameAssets>();
    runStartUp(*game, *gameAssets, 1);
    ASSERT_TRUE(pumpOnce(*game));
    // What the window manager's close button turns into.
    SDL_Event quit;
    SDL_zero(quit);
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_FALSE(pumpOnce(*game));
    runShutDown(*game);
    platformClose();
}
