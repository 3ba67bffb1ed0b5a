// Forms of the framework: the animated height and the standard error box.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "framework/Application.h"
#include "framework/Form.h"

namespace {

// A dialog-framed form that records every outer height it takes and can
// run a handler when it reaches a given height.
class TestForm : public TForm {
public:
    TestForm()
    {
        static bool initialized = false;
        if (!initialized) {
            Application.Initialize(GetModuleHandleW(nullptr));
            initialized = true;
        }
        CreateForm({"test", {100, 100, 180, 230}, WS_POPUP | WS_DLGFRAME, 0, L"Tahoma", 11});
        Show();
    }
    std::vector<int> heights;
    int triggerAt = -1;
    std::function<void()> onTrigger;

protected:
    bool HandleMessage(UINT message, WPARAM, LPARAM, LRESULT&) override
    {
        if (message == WM_SIZE) {
            int h = Height();
            heights.push_back(h);
            if (h == triggerAt && onTrigger) {
                triggerAt = -1;
                onTrigger();
            }
        }
        return false;
    }
};

} // namespace

TEST(FormHeight, AnimatesInFivePixelSteps)
{
    TestForm form;
    ASSERT_EQ(form.Height(), 230);
    form.heights.clear();
    form.AnimateHeight(190);
    EXPECT_EQ(form.heights, (std::vector<int>{225, 220, 215, 210, 205, 200, 195, 190}));
    form.heights.clear();
    form.AnimateHeight(230);
    EXPECT_EQ(form.heights.size(), 8u);
    EXPECT_EQ(form.Height(), 230);
    form.heights.clear();
    form.AnimateHeight(230);
    EXPECT_TRUE(form.heights.empty()) << "starting at the target does nothing";
}

TEST(FormHeight, EndsAtTheTargetFromAnyDistance)
{
    TestForm form;
    form.SetHeight(233);
    form.heights.clear();
    form.AnimateHeight(190);
    EXPECT_EQ(form.Height(), 190);
    EXPECT_EQ(form.heights.back(), 190);
    for (size_t i = 1; i < form.heights.size(); ++i)
        EXPECT_LE(form.heights[i - 1] - form.heights[i], 5);
}

TEST(FormHeight, NestedAnimationRunsToItsTargetThenTheOuterOneGoesOn)
{
    TestForm form;
    form.triggerAt = 210;
    form.onTrigger = [&form] { form.AnimateHeight(250); };
    form.heights.clear();
    form.AnimateHeight(190);
    ASSERT_NE(std::find(form.heights.begin(), form.heights.end(), 250), form.heights.end())
        << "the nested animation did not reach its own target";
    EXPECT_EQ(form.Height(), 190);
}
