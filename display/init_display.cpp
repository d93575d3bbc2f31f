#include "display/display.h"
#include "scene/scene.h"
#include "settings/settings.h"

static GrScreenResolution_t screenResolution = GR_RESOLUTION_640x480;
// Filled by the hardware query; only the query's answer matters.
static GrHwConfiguration hardwareConfiguration;

bool initDisplayAndScene(HINSTANCE instance) {
    SaverSettings settings;
    settings.LogoOn = readSetting("LogoOn", SAVER_DEFAULTS.LogoOn);
    settings.NbStars = readSetting("NbStars", SAVER_DEFAULTS.NbStars);
    NbStars = settings.NbStars;
    // Without its star field the saver cannot run; fail before Glide is
    // touched so that nothing needs closing.
    if (!allocateStarField(settings.NbStars)) return false;
    settings.Percent = readSetting("Percent", SAVER_DEFAULTS.Percent);
    Percent = settings.Percent;

    grGlideInit();
    if (!grSstQueryHardware(&hardwareConfiguration)) return false;
    grSstSelect(0);
    if (!grSstWinOpen(0, screenResolution, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB, GR_ORIGIN_UPPER_LEFT, 2, 0))
        return false;
    if (!loadTextures(instance)) return false;
    setRenderState();
    prepareVertexTemplates();
    if (settings.LogoOn == 1) playLogoIntro();
    populateScene();
    grGlideShamelessPlug(FXTRUE);
    // Frame drawing relies on this constant colour; nothing sets it again.
    grConstantColorValue(0x1F000000);
    return true;
}

void shutdownDisplay() {
    grGlideShutdown();
}
