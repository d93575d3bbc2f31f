// Table fog: the factor (0..255) a fragment with the given 1/w receives.
#ifndef COMET_GLIDE_FOG_H
#define COMET_GLIDE_FOG_H

double fogTableW(int i);
// 0 when fog is off.
int fogFactor(float oow);

#endif
