// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The developer's overlay: while Tab is held, a column of readouts over whatever the frame
// shows, and the world stands still. It runs last in every frame, so the world stops one frame
// after Tab goes down and moves again one frame after it comes up.

struct GameState;

// The render-time figures the frame publishes every 20 frames, in milliseconds.
struct RenderTimes {
    float average = 0.0f;
    float min = 0.0f;
    float max = 0.0f;
};

// Sets `frozen` from the Tab key.
void updateFreeze(GameState& game);
// While Tab is held, the readouts.
void drawDiagnostics(const GameState& game, const RenderTimes& times);
