// The render state every frame relies on, set once after the textures load.
#ifndef COMET_RENDER_STATE_H
#define COMET_RENDER_STATE_H

void setRenderState();

#endif
