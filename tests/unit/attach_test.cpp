// Attaching to a host that refuses the pane, and messages the pane does not know.
#include <gtest/gtest.h>

#include "addin/dispatch.h"
#include "base/addin_state.h"
#include "host/scripted_user.h"
#include "platform/desktop.h"
#include "tests/unit/listing_host.h"

extern "C" int GiveAddinInterface(qor::HostInterface* host);

namespace qor {
namespace {

class AttachTest : public ::testing::Test {
 protected:
  AttachTest() : host_(desktop::CreateHostWindow(nullptr, {0, 0, 800, 600}, 4, {})) {}
  ~AttachTest() override {
    state = AddinState();
    desktop::Reset();
    scripted::SeatScriptedUser();
  }
  testing::ListingHost host_;
};

TEST_F(AttachTest, APaneTheHostRefusesLeavesNoWindow) {
  host_.paneAnswer = 0;
  EXPECT_EQ(GiveAddinInterface(&host_), 0);
  EXPECT_FALSE(desktop::IsWindow(state.tree));
  GiveAddinInterface(&host_);  // a host calling again after the refusal does no harm (the sanitizers watch)
}

TEST_F(AttachTest, MessagesThePaneDoesNotKnowAreAnsweredZeroAndChangeNothing) {
  ASSERT_EQ(GiveAddinInterface(&host_), 1);
  const int viewMode = state.viewMode;
  const bool firstActivation = state.firstActivation;
  for (const unsigned message : {0u, 2u, 0x0100u, 0x0403u, 0xFFFFFFFFu}) {
    EXPECT_EQ(PaneCallback(state.tree, message, 1, 1), 0) << message;
  }
  EXPECT_EQ(state.viewMode, viewMode);
  EXPECT_EQ(state.firstActivation, firstActivation);
  EXPECT_TRUE(desktop::IsWindow(state.tree));
}

}  // namespace
}  // namespace qor
