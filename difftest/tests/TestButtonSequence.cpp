#include <gtest/gtest.h>

#include "difftest/OurSide_p.h"
#include "difftest/ButtonSequence_p.h"

namespace {

// The benchmarked redraw must be steady: whatever it makes it deletes, so that a million
// iterations measure drawing and not a growing object table.
TEST(ButtonSequence, RedrawsWithoutLeavingObjectsBehind) {
    const gdi::ObjectCounts before = gdi::LiveObjects();
    {
        difftest::side::ButtonSequence seq;
        ASSERT_TRUE(seq.Ready());
        const gdi::ObjectCounts ready = gdi::LiveObjects();
        for (const bool withIcon : {false, true, true}) {
            seq.Redraw(withIcon);
            EXPECT_EQ(gdi::LiveObjects(), ready) << gdi::ToString(gdi::LiveObjects());
        }
    }
    EXPECT_EQ(gdi::LiveObjects(), before);
}

}  // namespace
