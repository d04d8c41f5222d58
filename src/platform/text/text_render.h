#pragma once
// What the back ends tell the text renderer they share.

// The back end's textures are gone (the window closed): texts are rendered again when next drawn.
void forgetTextTextures();
