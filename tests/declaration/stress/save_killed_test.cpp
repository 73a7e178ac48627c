// Saves killed with SIGKILL at every step in a child process: the next start finishes the save
// from the working copies, and the folder holds the new declaration, whole.
#include <signal.h>

#include <algorithm>

#include "../../os/child.h"
#include "../save_fixture.h"

namespace kx::declaration::testing {
namespace {

// A child process saves and is killed with SIGKILL at step k of the save; the next start
// finishes the save from the copies. The folder then holds the new declaration, whole.
TEST_F(SaveTest, SaveKilledAtAnyStepIsFinishedFromTheCopies) {
  for (int k = 1;; ++k) {
    SCOPED_TRACE("killed at step " + std::to_string(k));
    bool completed = false;
    {
      os::testing::Child child([&](const os::testing::Channel& channel) {
        auto d = opened();
        append_to_copy(*d, 4, {{"CPF", kCpf}, {"I7_0", "4"}, {"I7_2", "bem 4"}});
        append_to_copy(*d, 3, {{"CPF", kCpf}, {"NOMEDEPEN", "FILHO"}});
        int step = 0;
        d->set_step_hook([&] {
          if (++step == k) ::raise(SIGKILL);
        });
        const bool ok = d->save(SaveMode::final);
        channel.send('D');
        return ok ? 0 : 1;
      });
      completed = child.channel().receive() == 'D';
      const int status = child.wait();
      EXPECT_TRUE(status == -1 || status == 0) << status;
    }
    store::Access a = access();
    if (!completed) {
      EXPECT_EQ(marker_state(), MarkerState::saving);
      std::string why;
      ASSERT_EQ(finish_interrupted_save(a, &why), Redo::finished) << why;
    }
    auto assets = column(4, "I7_2");
    std::sort(assets.begin(), assets.end());
    EXPECT_EQ(assets, (std::vector<std::string>{"bem 1", "bem 2", "bem 3", "bem 4"}));
    EXPECT_EQ(column(4, "I7_0", kOther), (std::vector<std::string>{"7"}));
    EXPECT_EQ(column(3, "NOMEDEPEN"), (std::vector<std::string>{"FILHO"}));
    EXPECT_EQ(column(2, "I1_2").size(), 2u);
    EXPECT_EQ(registry("NUSUAT"), "");
    EXPECT_FALSE(marker_state());
    if (completed) break;
    // back to the declaration as it was before the save
    OpenDeclaration d(a, "OPERADOR");
    ASSERT_TRUE(d.load(kCpf, Origin::existing, false));
    for (uint32_t r = 1; r <= d.copy(4).record_count(); ++r) {
      d.copy(4).go_to(r);
      if (text::trim(d.copy(4).get_text("I7_2")) == "bem 4") d.copy(4).delete_record();
    }
    d.copy(3).go_top();
    if (!d.copy(3).eof()) d.copy(3).delete_record();
    ASSERT_TRUE(d.save(SaveMode::final)) << d.reason();
    ASSERT_LT(k, 200) << "the save never completed";
  }
}

}  // namespace
}  // namespace kx::declaration::testing
