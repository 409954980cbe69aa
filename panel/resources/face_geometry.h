// Numbers that the gauge records and the face pictures share: text boxes that must sit on painted
// windows (and the windows' colour, which the boxes' ground must equal), mouse boxes that must lie
// on painted buttons and knobs, icons that must turn in painted nuts and slots, and slider travel
// along a painted shaft. The gauges place their records by these and the artwork paints by the
// same numbers, so the two cannot drift apart. Boxes are (x, y, width, height) in the gauge's
// pixels; colours are 0x00BBGGRR, as the host takes them.
#pragma once

#include <cstdint>

#include "dial_marks.h"
#include "gauge.h"

namespace face_geometry {

using dial_marks::Point;

// ---- "Flydat": eight text boxes 75 x 30, in two rows of four on the green window ----------------

inline constexpr MouseBox kRpmBox{125, 65, 75, 30};
inline constexpr MouseBox kEgtPtoBox{200, 65, 75, 30};
inline constexpr MouseBox kChtBox{275, 65, 75, 30};
inline constexpr MouseBox kOilTemperatureBox{350, 65, 75, 30};
inline constexpr MouseBox kHoursBox{125, 95, 75, 30};
inline constexpr MouseBox kEgtMagBox{200, 95, 75, 30};
inline constexpr MouseBox kSideBox{275, 95, 75, 30};
inline constexpr MouseBox kOilPressureBox{350, 95, 75, 30};

// The window is painted in exactly the boxes' ground, so the boxes vanish into it.
inline constexpr uint32_t kFlydatWindowColour = 0x52DE94;

// ---- "Icom": two frequency windows on the liquid-crystal window, and the transfer button --------

inline constexpr MouseBox kActiveFrequencyBox{68, 44, 110, 25};
inline constexpr MouseBox kStandbyFrequencyBox{200, 44, 110, 25};
inline constexpr uint32_t kRadioWindowColour = 0x7BA59C;
inline constexpr MouseBox kTransferButtonBox{150, 100, 70, 30};

// ---- "Attitude": the reference bar's knob, painted under its two halves -----------------------

inline constexpr MouseBox kReferenceBarDownBox{105, 230, 30, 55};
inline constexpr MouseBox kReferenceBarUpBox{138, 230, 30, 55};

// ---- The altimeters' setting knob, painted under its two halves --------------------------------

inline constexpr MouseBox kKollsmanDownBox{0, 230, 25, 60};
inline constexpr MouseBox kKollsmanUpBox{26, 230, 25, 60};

// ---- "Slip": the ball's left edge at value 0, just right of the left centre line ----------------

inline constexpr Point kSlipBallAtZero{127, 156};

// ---- "Compass": the heading strip's place in the plate's window --------------------------------

// The strip's left edge is the window's; its companion's lubber line falls on the plate's.
inline constexpr Point kCompassCard{78, 101};

// ---- Lever icons, 16 wide, turning in the painted nuts of "Switches" and "Magnetos" -------------

inline constexpr Point kLeftSwitchLever{12, 8};
inline constexpr Point kMiddleSwitchLever{84, 8};
inline constexpr Point kRightSwitchLever{150, 8};

inline constexpr Point kLeftMagnetoLever{19, 14};
inline constexpr Point kRightMagnetoLever{67, 14};

// ---- "Throttle": the knob at idle, and its travel along the painted shaft per unit of lever -----

inline constexpr Point kThrottleKnobAtIdle{90, 180};
inline constexpr double kThrottleTravelX = -70.0;
inline constexpr double kThrottleTravelY = -130.0;

// ---- "Flap_trim_handle": the handle icon, whose pivot lies in the painted base strip -----------

inline constexpr Point kFlapHandleIcon{120, 0};

}  // namespace face_geometry
