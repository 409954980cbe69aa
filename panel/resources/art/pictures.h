// The Skelvan module's pictures, gauge by gauge.
#pragma once

#include <vector>

#include "artkit.h"

namespace skelvan_art {

using artkit::Picture;

std::vector<Picture> DrawAll();

// Each appends its gauge's pictures.
void DrawAttitude(std::vector<Picture>& out);
void DrawNeedleDials(std::vector<Picture>& out);  // airspeed, VSI, fuel pressure
void DrawAltimeters(std::vector<Picture>& out);
void DrawSlipAndCompass(std::vector<Picture>& out);
void DrawFlydat(std::vector<Picture>& out);
void DrawLamps(std::vector<Picture>& out);
void DrawSwitches(std::vector<Picture>& out);  // master, start, switches, magnetos
void DrawThrottleAndFlaps(std::vector<Picture>& out);
void DrawRadio(std::vector<Picture>& out);

}  // namespace skelvan_art
