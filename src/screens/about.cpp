// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/about.h"

#include "assets/game_assets.h"
#include "game/game_state.h"
#include "raster/canvas.h"
#include "raster/colours.h"
#include "screens/focus.h"
#include "screens/plates.h"

// SKARNWING_VERSION and SKARNWING_COPYRIGHT_YEAR come from the build (CMakeLists.txt's project()
// and CHANGELOG.md's newest release).

namespace {

constexpr int32_t kNameX = 150;    // the left column
constexpr int32_t kLicenceX = 650; // the licence beside a name
constexpr int32_t kFirstRowY = 100;
constexpr int32_t kRowStep = 22; // pixels per row
constexpr Rect kBack = {580, 640, 700, 670};

// One row: a text in the left column, and a licence beside it or nothing; a heading is amber.
struct Row {
    const char* text;
    const char* licence;
    bool heading;
};

constexpr Row kRows[] = {
    {"Skarnwing " SKARNWING_VERSION ", a side-view combat-flight game", nullptr, false},
    {"Copyright (C) " SKARNWING_COPYRIGHT_YEAR " The Skarnwing developers", nullptr, false},
    {"", nullptr, false},
    {"LICENCES", nullptr, true},
    {"The program", "GNU GPL version 3 or later", false},
    {"Pictures, sounds and music", "CC BY-SA 4.0, and the terms below", false},
    {"This is free software: you are free to change and redistribute it.", nullptr, false},
    {"There is NO WARRANTY, to the extent permitted by law.", nullptr, false},
    {"", nullptr, false},
    {"LIBRARIES", nullptr, true},
    {"SDL2", "zlib licence", false},
    {"SDL2_ttf", "zlib licence", false},
    {"FreeType", "FreeType licence", false},
    {"libpng", "libpng licence", false},
    {"libjpeg-turbo", "IJG, BSD-3-Clause and zlib licences", false},
    {"mpg123", "GNU LGPL 2.1", false},
    {"stb", "public domain or MIT licence", false},
    {"", nullptr, false},
    {"THE CONTENT IS MADE WITH", nullptr, true},
    {"DejaVu: font sheets, lettering", "Bitstream Vera licence", false},
    {"Liberation Serif: the briefings", "SIL Open Font Licence 1.1", false},
    {"MuseScore General Lite: the music", "MIT licence", false},
    {"flite's voices: the airshow", "CMU flite licence", false},
};

void closeAbout(GameState& game) {
    game.aboutShown = 0;
    spendNavigation(game);
}

} // namespace

const char* versionNotice() {
    return "skarnwing " SKARNWING_VERSION "\n"
           "Copyright (C) " SKARNWING_COPYRIGHT_YEAR " The Skarnwing developers\n"
           "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

void openAbout(GameState& game) {
    game.aboutShown = 1;
    game.panelClickLatch = game.mouse.leftDown;
}

void updateAbout(GameState& game) {
    const bool click = game.mouse.leftDown && !game.panelClickLatch;
    game.panelClickLatch = game.mouse.leftDown;
    const NavPress nav = navigation(game);
    if ((click && controlUnderMouse(game, &kBack, 1) == 0) || nav.activate || nav.back) closeAbout(game);
}

void drawAbout(const GameState& game) {
    drawPlate(game, 120, 30, 1160, 690, true);
    drawHeading(game, "ABOUT", 640, 48);
    int32_t y = kFirstRowY;
    for (const Row& row : kRows) {
        drawLabel(game, row.text, kNameX, y, row.heading ? kHouseAmber : kHouseCream);
        if (row.licence != nullptr) drawLabel(game, row.licence, kLicenceX, y, kHouseCreamDim);
        y += kRowStep;
    }
    const bool lit = controlUnderMouse(game, &kBack, 1) == 0;
    drawBacking(game.assets->canvas, kBack.left, kBack.top, kBack.right, kBack.bottom, kHouseNavyMid);
    drawLabel(game, "Back", (kBack.left + kBack.right - labelWidth(game, "Back")) / 2, kBack.top + 3,
              lit ? kHouseAmber : kHouseCream);
    drawFocusRing(game, kBack);
}
