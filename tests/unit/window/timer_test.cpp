// Window timers on the headless clock: periods, restarts, kills, late timers and windows gone.
#include "WindowTestEnv.h"

namespace {

class CTimerWnd : public CColourWnd {
public:
    std::vector<UINT_PTR> m_fired;

protected:
    void OnTimer(UINT_PTR nIDEvent) override { m_fired.push_back(nIDEvent); }
};

TEST_F(WindowTest, TimersFireEachPeriodOnceEvenWhenLate) {
    CTimerWnd wnd;
    ASSERT_TRUE(wnd.Make(nullptr, CRect(0, 0, 50, 50)));
    wnd.SetTimer(7, 100, nullptr);
    wnd.SetTimer(9, 250, nullptr);
    const struct {
        int nAdvance;
        std::vector<UINT_PTR> fired;
    } steps[] = {{99, {}}, {1, {7}}, {100, {7}}, {50, {9}}, {1000, {7, 9}}, {99, {}}, {1, {7}}};
    for (const auto& s : steps) {
        m_backend.AdvanceTime((uint64_t)s.nAdvance);
        wnd.m_fired.clear();
        Pump();
        EXPECT_EQ(wnd.m_fired, s.fired) << "after " << s.nAdvance;
    }
    // A restart counts from now with the new period; a killed timer stays quiet.
    wnd.SetTimer(7, 300, nullptr);
    EXPECT_TRUE(wnd.KillTimer(9));
    EXPECT_FALSE(wnd.KillTimer(9));
    wnd.m_fired.clear();
    m_backend.AdvanceTime(299);
    Pump();
    EXPECT_TRUE(wnd.m_fired.empty());
    m_backend.AdvanceTime(1);
    Pump();
    EXPECT_EQ(wnd.m_fired, std::vector<UINT_PTR>{7});
    wnd.DestroyWindow();
    m_backend.AdvanceTime(1000);
    Pump(); // the gone window's timer goes quietly
}

} // namespace
