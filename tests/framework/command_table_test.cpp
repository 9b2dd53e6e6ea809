#include "framework/command_table.h"

#include <QAction>
#include <gtest/gtest.h>

#include <functional>

namespace vexa {
namespace {

TEST(CommandTable, ExecuteAsksTheRuleEveryTime) {
    struct Case {
        const char* name;
        bool handler;
        std::function<void(TCommandState&)> rule;
        bool wantEnabled;
        bool wantChecked;
    };
    const Case cases[] = {
        {"handler, no rule: enabled by default", true, nullptr, true, false},
        {"no handler: disabled", false, nullptr, false, false},
        {"rule disables", true, [](TCommandState& s) { s.Enabled = false; }, false, false},
        {"rule only checks: enabled stays default", true, [](TCommandState& s) { s.Checked = true; }, true, true},
        {"rule enables without handler", false, [](TCommandState& s) { s.Enabled = true; }, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCommandTable table;
        int runs = 0;
        if (c.handler) table.SetHandler(7, [&] { ++runs; });
        if (c.rule) table.SetEnabler(7, c.rule, true);
        const TCommandState have = table.State(7);
        EXPECT_EQ(have.Enabled, c.wantEnabled);
        EXPECT_EQ(have.Checked, c.wantChecked);

        const bool ran = table.Execute(7);
        EXPECT_EQ(ran, c.wantEnabled && c.handler);
        EXPECT_EQ(runs, ran ? 1 : 0);
    }
}

TEST(CommandTable, StaleActionStateCannotRunADisabledCommand) {
    // The action still looks enabled from the last refresh when the rule
    // turns the command off; triggering it (an accelerator, a button) must not run it.
    TCommandTable table;
    bool allowed = true;
    int runs = 0;
    table.SetHandler(5, [&] { ++runs; });
    table.SetEnabler(5, [&](TCommandState& s) { s.Enabled = allowed; s.Checked = allowed; }, true);
    table.Refresh();
    ASSERT_TRUE(table.Action(5)->isEnabled());

    allowed = false;
    table.Action(5)->trigger();  // toggles the check mark on its way
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(table.Action(5)->isEnabled()) << "a refused run refreshes the look";
    EXPECT_FALSE(table.Action(5)->isChecked()) << "the rule, not the click, owns the check mark";

    allowed = true;
    table.Refresh();
    table.Action(5)->trigger();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(table.Action(5)->isChecked());
}

TEST(CommandTable, RefreshAfterEachCommandFollowsStateTheHandlerChanged) {
    TCommandTable table;
    int mode = 1;
    table.SetHandler(1, [&] { mode = 2; });
    table.SetHandler(2, [] {});
    table.SetEnabler(2, [&](TCommandState& s) { s.Enabled = mode == 2; });
    table.Refresh();
    ASSERT_FALSE(table.Action(2)->isEnabled());
    EXPECT_TRUE(table.Execute(1));
    EXPECT_TRUE(table.Action(2)->isEnabled());
}

}  // namespace
}  // namespace vexa
