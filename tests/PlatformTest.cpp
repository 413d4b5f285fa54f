#include "PlatformTest.h"

void PlatformTest::TearDown()
{
    EXPECT_EQ(0, sim::LiveComReferences()) << "leaked: " << sim::LiveComObjects();
    EXPECT_EQ(0, sim::LiveBstrs()) << "BSTRs leaked";
    EXPECT_EQ(0, sim::LiveTaskBlocks()) << "task-allocator blocks leaked";
    EXPECT_EQ(0, sim::ComInitDepth()) << "COM left initialised";
    for (const std::string &misuse : sim::Misuse())
        ADD_FAILURE() << "platform misuse: " << misuse;
    sim::Reset();
}
