// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "combat/blasts.h"

#include "assets/game_assets.h"
#include "combat/targets.h"
#include "game/game_state.h"
#include "raster/blit.h"

namespace {

constexpr double kGroundBlastY = 19850.0; // below any screen: the first step places it

struct BlastTable {
    Blast* blasts;
    GroundMark* marks;
    int32_t* count;
    int32_t capacity;
    const FrameSet* frames;
};

BlastTable tableOf(GameState& game, BlastKind kind) {
    if (kind == BlastKind::Bomb) {
        return {game.bombBlasts, game.craters, &game.bombBlastCount, kBombBlastCapacity,
                &game.assets->frameSets[kFramesBombBlast]};
    }
    return {game.missileBlasts, game.blastMarks, &game.missileBlastCount, kMissileBlastCapacity,
            &game.assets->frameSets[kFramesMissileBlast]};
}

// The record a new blast goes into, or null. Below the capacity it is the next one, as it was
// left by the reset; a full table plays its oldest finished blast again from the start.
Blast* claimBlast(const BlastTable& table) {
    if (*table.count < 0) return nullptr;
    if (*table.count < table.capacity) return &table.blasts[(*table.count)++];
    for (int32_t i = 0; i < table.capacity; ++i) {
        Blast& blast = table.blasts[i];
        if (!blast.finished) continue;
        blast.imageIndex = 0;
        blast.tick = 0;
        blast.finished = 0;
        return &blast;
    }
    return nullptr;
}

// One frame of a playing blast's strip: the next image every framesPerImage frames; a blast
// already on its last image has finished.
void animate(Blast& blast, int32_t imageCount) {
    if (blast.imageIndex < imageCount - 1) {
        blast.tick += 1;
        if (blast.tick >= blast.framesPerImage) {
            blast.imageIndex = (blast.imageIndex + 1) % imageCount;
            blast.tick = 0;
        }
    } else {
        blast.finished = 1;
    }
}

void drawTable(const GameState& game, const Blast* blasts, int32_t count, int32_t capacity, const FrameSet& frames) {
    const int32_t used = count < capacity ? count : capacity;
    for (int32_t i = 0; i < used; ++i) {
        if (blasts[i].finished) continue;
        // Where this frame's step leaves it: the image advances first, the position only after.
        Blast blast = blasts[i];
        animate(blast, frames.count);
        if (blast.screenX < 1280 && blast.screenY < 720 && blast.imageIndex >= 0 && blast.imageIndex < frames.count) {
            blitBlended(game.assets->canvas, frames.images[size_t(blast.imageIndex)],
                        static_cast<int32_t>(blast.screenX), static_cast<int32_t>(blast.screenY));
        }
    }
}

void updateTable(GameState& game, const BlastTable& table) {
    const int32_t used = *table.count < table.capacity ? *table.count : table.capacity;
    const int32_t imageCount = table.frames->count;
    for (int32_t i = 0; i < used; ++i) {
        Blast& blast = table.blasts[i];
        if (!blast.finished) {
            animate(blast, imageCount);
            // Every target of the kinds a blast destroys within its reach, whatever their section,
            // uncounted.
            reachTargets(game, Shot{Blow::Blast, 0.0, 0.0, blast.worldX, 0.0, 0}, &TargetRow::blastDestroys);
        } else if (!table.marks[i].active) {
            // A blast that ended in the air keeps rewriting its inactive mark.
            GroundMark& mark = table.marks[i];
            mark.x = blast.screenX - game.camera.cameraLead;
            mark.y = blast.screenY;
            mark.active = blast.screenY >= game.groundScreenY + 145;
        }
        if (!game.frozen) {
            blast.screenX = blast.worldX - game.camera.cameraX;
            if (blast.screenY < game.groundScreenY + 155) {
                blast.screenY = blast.worldY - game.camera.cameraY - 20;
            } else {
                blast.screenY = game.groundScreenY + 160 - game.aircraft.velY;
            }
        }
    }
}

} // namespace

void startGroundBlast(GameState& game, BlastKind kind, double worldX) {
    Blast* blast = claimBlast(tableOf(game, kind));
    if (blast == nullptr) return;
    blast->screenX = worldX - game.camera.cameraX - 100;
    blast->worldX = worldX;
    blast->screenY = kGroundBlastY;
}

void startAirBlast(GameState& game, BlastKind kind, double worldX, double worldY) {
    Blast* blast = claimBlast(tableOf(game, kind));
    if (blast == nullptr) return;
    blast->screenX = worldX - game.camera.cameraX;
    blast->worldX = worldX;
    blast->worldY = worldY;
    blast->screenY = worldY - 20 - game.camera.cameraY;
}

void drawBlasts(const GameState& game) {
    drawTable(game, game.bombBlasts, game.bombBlastCount, kBombBlastCapacity, game.assets->frameSets[kFramesBombBlast]);
    drawTable(game, game.missileBlasts, game.missileBlastCount, kMissileBlastCapacity,
              game.assets->frameSets[kFramesMissileBlast]);
}

void updateBlasts(GameState& game) {
    updateTable(game, tableOf(game, BlastKind::Bomb));
    updateTable(game, tableOf(game, BlastKind::Missile));
}

void resetBlasts(GameState& game, int32_t framesPerImageTotal) {
    for (const BlastKind kind : {BlastKind::Bomb, BlastKind::Missile}) {
        const BlastTable table = tableOf(game, kind);
        for (int32_t i = 0; i < table.capacity; ++i) {
            Blast& blast = table.blasts[i];
            blast.imageIndex = 0;
            blast.tick = 0;
            blast.finished = 0;
            blast.screenX = 0;
            blast.screenY = 0;
            blast.framesPerImage = framesPerImageTotal / kBlastImages;
            table.marks[i] = GroundMark{};
        }
        *table.count = 0;
    }
}
