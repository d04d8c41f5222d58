// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the back ends tell the text renderer they share.

// The back end's textures are gone (the window closed): texts are rendered again when next drawn.
void forgetTextTextures();
