#include <gtest/gtest.h>

#include "ui/win32/control_ids.h"
#include "ui/win32/form1_window.h"

namespace ristemo::ui {
namespace {

// The fixed dark blue and dark red are unreadable on a high-contrast scheme's black: there the
// captions and results take the system's text colours.
TEST(Form1WindowColours, HighContrastTakesTheSystemTextColours) {
    const struct {
        int id;
        COLORREF normal;
        int contrast_text;  // system colour index
        int background;
    } rows[] = {
        {ids::kLabel1 + 2, RGB(0, 0, 128), COLOR_BTNTEXT, COLOR_BTNFACE},
        {ids::kOption1 + 1, RGB(0, 0, 128), COLOR_BTNTEXT, COLOR_BTNFACE},
        {ids::kFrame1, RGB(0, 0, 192), COLOR_BTNTEXT, COLOR_BTNFACE},
        {ids::kFrame2, RGB(128, 0, 0), COLOR_BTNTEXT, COLOR_BTNFACE},
        {ids::kLabel3 + 4, RGB(128, 0, 0), COLOR_WINDOWTEXT, COLOR_WINDOW},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        const Form1Window::Colours normal = Form1Window::colours_of(row.id, false);
        const Form1Window::Colours contrast = Form1Window::colours_of(row.id, true);
        EXPECT_TRUE(normal.own);
        EXPECT_EQ(normal.text, row.normal);
        EXPECT_EQ(contrast.text, GetSysColor(row.contrast_text));
        EXPECT_EQ(normal.background, row.background);
        EXPECT_EQ(contrast.background, row.background);
    }
    EXPECT_FALSE(Form1Window::colours_of(ids::kText1, true).own);
}

}  // namespace
}  // namespace ristemo::ui
