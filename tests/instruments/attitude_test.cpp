// The attitude indicator's callbacks and its self-reversing reference-bar knob, driven through the
// gauge's own records as the host drives them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "fake_host.h"
#include "gauges.h"
#include "instruments/instruments.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The bar's state as the module was loaded, read before any test has clicked.
const uint32_t kLoadPosition = ReferenceBarPosition;
const int32_t kLoadStep = ReferenceBarStep;

SpriteElement& HorizonCard() { return *ElementAs<SpriteElement>(DrawOrder(AttitudeGauge)[1]); }
SpriteElement& ReferenceBar() { return *ElementAs<SpriteElement>(DrawOrder(AttitudeGauge)[3]); }

TEST(HorizonPitchValue, HoldsPitchAt43EitherWay) {
    struct Case {
        double pitch, expected;
    };
    const Case cases[] = {
        {0, 0},      {12.5, 12.5}, {43.0, 43.0}, {43.5, 43.0},  {-43.0, -43.0},
        {-60, -43},  {kInf, 43},   {-kInf, -43}, {1e300, 43},   {kNaN, 0},  // NaN: drawn level
    };
    SpriteElement& card = HorizonCard();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pitch);
        SetVariableNumber(card.y_variable, c.pitch);
        // Through the record: the callback must read the card's own y channel.
        EXPECT_EQ(card.y_callback(&card.header), c.expected);
    }
}

class ReferenceBarKnob : public ::testing::Test {
protected:
    void SetUp() override {
        ReferenceBarPosition = kLoadPosition;
        ReferenceBarStep = kLoadStep;
    }
    // 'L' clicks the left half of the knob, 'R' the right half; returns the position after each.
    static std::vector<uint32_t> Click(const std::string& clicks) {
        const MouseArea* areas = AttitudeGauge.mouse_areas;
        std::vector<uint32_t> positions;
        for (char c : clicks) {
            const MouseArea& area = c == 'L' ? areas[1] : areas[2];
            const MousePoint point{.x = area.box.x + 1, .y = area.box.y + 1};
            EXPECT_EQ(area.action.handler(&point, area.event_flags), 0u);
            positions.push_back(ReferenceBarPosition);
        }
        return positions;
    }
};

TEST_F(ReferenceBarKnob, LoadsAtFiveDrawnFifteenPixelsUp) {
    EXPECT_EQ(kLoadPosition, 5u);
    EXPECT_EQ(kLoadStep, +1);
    SpriteElement& bar = ReferenceBar();
    EXPECT_EQ(bar.y_callback(&bar.header) * bar.y_scale, -15.0);
}

TEST_F(ReferenceBarKnob, ClickSequencesFromLoadFoldAndReverse) {
    struct Case {
        std::string clicks;
        std::vector<uint32_t> positions;
        int32_t step_after;
    };
    const Case cases[] = {
        // A held right half sweeps up to 13, turns, down to 0, turns again.
        {std::string(23, 'R'),
         {6, 7, 8, 9, 10, 11, 12, 13, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 2, 3, 4}, +1},
        {std::string(19, 'L'),
         {4, 3, 2, 1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 11, 10}, +1},
        {"RLRLRL", {6, 5, 6, 5, 6, 5}, +1},
        // After a reversal the halves swap: the left raises and the right lowers.
        {"RRRRRRRRL", {6, 7, 8, 9, 10, 11, 12, 13, 13}, -1},
        {"LLLLLRR", {4, 3, 2, 1, 0, 0, 2}, +1},
        {"LLLLLLRL", {4, 3, 2, 1, 0, 2, 1, 2}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clicks);
        SetUp();
        EXPECT_EQ(Click(c.clicks), c.positions);
        EXPECT_EQ(ReferenceBarStep, c.step_after);
    }
}

TEST_F(ReferenceBarKnob, RightSweepRepeatsEvery24ClicksAndStaysIn0To13) {
    const std::vector<uint32_t> positions = Click(std::string(13 + 24 * 3, 'R'));
    for (size_t i = 0; i < positions.size(); ++i) {
        EXPECT_LE(positions[i], 13u) << "click " << i + 1;
        // The first 13 is stored by click 8.
        if (i >= 7 + 24) {
            EXPECT_EQ(positions[i], positions[i - 24]) << "click " << i + 1;
        }
    }
}

TEST_F(ReferenceBarKnob, DrawnDisplacementFollowsPosition) {
    SpriteElement& bar = ReferenceBar();
    struct Case {
        std::string clicks;
        double displacement;
    };
    const Case cases[] = {{"", -15}, {"RRRRRRR", -36}, {"RRRRRRRR", -39}, {"LLLLL", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clicks);
        SetUp();
        Click(c.clicks);
        EXPECT_EQ(bar.y_callback(&bar.header) * bar.y_scale, c.displacement);
    }
}

TEST_F(ReferenceBarKnob, FoldClampsToOneAndTwelveReversingTheStep) {
    struct Case {
        uint32_t position, folded;
        int32_t step_after;  // from +1
    };
    const Case cases[] = {
        {0, 1, -1}, {1, 1, +1}, {5, 5, +1}, {12, 12, +1}, {13, 12, -1}, {0xFFFFFFFFu, 12, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        ReferenceBarStep = +1;
        EXPECT_EQ(FoldReferenceBar(c.position), c.folded);
        EXPECT_EQ(ReferenceBarStep, c.step_after);
    }
}

}  // namespace
