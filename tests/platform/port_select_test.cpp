#include "platform/port_select.h"

#include <gtest/gtest.h>

namespace korvex {
namespace {

TEST(PortChoice, OptionThenEnvironmentThenDefault) {
    EXPECT_EQ(ChoosePortSpec("none", "rawio", "sim"), "none");
    EXPECT_EQ(ChoosePortSpec("", "rawio", "sim"), "rawio");
    EXPECT_EQ(ChoosePortSpec("", "", "sim"), "sim");
    EXPECT_EQ(ChoosePortSpec("", nullptr, "auto"), "auto");
    EXPECT_TRUE(IsPortBackend("ppdev:/dev/parport1"));
    EXPECT_FALSE(IsPortBackend("ppdev:"));
    EXPECT_FALSE(IsPortBackend("lpt1"));
    EXPECT_EQ(MakeHardwarePort("sim", 0x378), nullptr) << "the motion layer builds the sim";
    EXPECT_FALSE(MakeHardwarePort("ppdev:/nonexistent/parport", 0x378)->load());
}

}  // namespace
}  // namespace korvex
