// A learner who does anything the window allows, at random: menus, buttons,
// keys, clicks on the plane, the clock. Whatever the order, nothing crashes,
// no position leaves its array and the counters stay consistent.
#include "TestForm.h"

#include <random>

TEST(RandomLearner, AnythingTheWindowAllowsKeepsTheProgramSound)
{
    const QString keys = u"0123456789xy=/-+p(),.ab;qX\b\r\r\r"_qs;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };
        TestForm t;
        t.allSets = true;
        Form1 &f = t.start();
        for (int step = 0; step < 1500 && !f.closed; ++step) {
            try {
                switch (pick(10)) {
                case 0: { // a menu item, now and then
                    if (pick(8) != 0)
                        break;
                    const MenuItem &m = f.menuItems[std::size_t(pick(int(f.menuItems.size())))];
                    if (!m.Parent.isEmpty() && m.Enabled && m.Name != u"taiseki")
                        f.menuClick(m.Name);
                    break;
                }
                case 1: { // a visible button, never the one that closes the window
                    Button *b = f.buttons()[std::size_t(pick(4))];
                    if (b->Visible && b->Enabled)
                        f.buttonClick(b->Name);
                    break;
                }
                case 2:
                case 3: { // a point on the plane
                    if (!f.Picture6.Visible)
                        break;
                    const double x = pick(200) / 10.0 - 10, y = pick(200) / 10.0 - 10;
                    tap(f, x, y);
                    break;
                }
                case 4:
                    t.clock.seconds += pick(40);
                    if (f.Timer1.Enabled)
                        f.Timer1_Timer();
                    break;
                default:
                    if (f.Text2.Visible)
                        f.typeKey(keys[pick(int(keys.size()))].unicode());
                    break;
                }
            } catch (const ProgramEnd &) {
                ASSERT_TRUE(f.closed);
            }
            ASSERT_GE(f.bank.mondaiNo, 0) << "seed " << seed;
            ASSERT_LE(f.bank.mondaiNo, 200) << "seed " << seed;
            if (f.bank.mondaiCount > 0) {
                ASSERT_LE(f.bank.mondaiNo, f.bank.mondaiCount + 1) << "seed " << seed;
            }
            ASSERT_GE(f.scoreState.missCount, 0);
            // The panel shows what the counters hold.
            if (!f.Label3.Caption.isEmpty()) {
                ASSERT_EQ(f.Label3.Caption, QString::number(f.scoreState.correctCount)) << "seed " << seed;
            }
            ASSERT_TRUE(f.typing.fractionMode == 0 || f.typing.fractionMode == 1);
        }
    }
}
