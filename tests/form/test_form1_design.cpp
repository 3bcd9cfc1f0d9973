// What must hold of the window's design whatever its values: the window tests hold each front-end
// to the values themselves.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "form/form1_design.h"

namespace {

using namespace ristemo::form;

std::string name(const ControlDesign& d) {
    return object_name(d.ref());
}

// A control's rectangle in its container (the frame, or the client area for a frame).
bool overlap(const ControlDesign& a, const ControlDesign& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

TEST(Form1Design, EachControlOnceAndEachTabPlaceOnce) {
    std::set<std::string> names;
    std::set<int> tabs;
    for (const ControlDesign& d : kControls) {
        EXPECT_TRUE(names.insert(name(d)).second) << name(d);
        EXPECT_TRUE(tabs.insert(d.tab).second) << name(d) << " tab " << d.tab;
    }
}

TEST(Form1Design, ControlsStandInsideTheirFrameWithoutOverlapping) {
    for (const ControlDesign& d : kControls) {
        SCOPED_TRACE(name(d));
        const ControlDesign* frame = frame_of(d);
        EXPECT_EQ(frame == nullptr, d.kind == ControlKind::Frame);
        const int width = frame ? frame->width : kClientWidth;
        const int height = frame ? frame->height : kClientHeight;
        EXPECT_GE(d.left, 0);
        EXPECT_GE(d.top, 0);
        EXPECT_LE(d.left + d.width, width);
        EXPECT_LE(d.top + d.height, height);
        // The frames themselves share their edges.
        if (!frame) continue;
        for (const ControlDesign& other : kControls) {
            if (&other != &d && other.frame == d.frame) {
                EXPECT_FALSE(overlap(d, other)) << name(other);
            }
        }
    }
}

TEST(Form1Design, EveryButtonAndMenuItemRunsACommandOfItsOwnRow) {
    for (const ControlDesign& d : kControls)
        EXPECT_EQ(d.command != Command::None, d.kind == ControlKind::PushButton) << name(d);
    for (std::size_t i = 0; i < std::size(kMenus); ++i)
        EXPECT_EQ(kMenus[i].command != Command::None, !is_menu(i)) << kMenus[i].name;
    for (const CommandDesign& row : kCommands) {
        int rows = 0;
        for (const CommandDesign& other : kCommands) rows += other.command == row.command;
        EXPECT_EQ(rows, 1) << int(row.command);
    }
}

// A menu holds the entries after it one level deeper, so no entry can stand deeper than that.
TEST(Form1Design, MenuTreeStartsOnTheBarAndDescendsOneLevelAtATime) {
    int level = 0;
    for (const MenuDesign& entry : kMenus) {
        EXPECT_GE(entry.level, 1) << entry.name;
        EXPECT_LE(entry.level, level + 1) << entry.name;
        level = entry.level;
    }
}

// The function key works through the menu item that runs its command.
TEST(Form1Design, EachFunctionKeyRunsOneCommandThroughOneMenuItem) {
    std::set<int> keys;
    for (const CommandDesign& row : kCommands) {
        if (row.function_key == 0) continue;
        EXPECT_TRUE(keys.insert(row.function_key).second) << "F" << row.function_key;
        int items = 0;
        for (const MenuDesign& entry : kMenus) items += entry.command == row.command;
        EXPECT_EQ(items, 1) << "F" << row.function_key;
    }
}

// The n of a caption that ends in "(Fn)"; 0 for any other caption.
int key_named_in(const std::string& caption) {
    const std::size_t open = caption.rfind("(F");
    if (open == std::string::npos || caption.back() != ')') return 0;
    return std::stoi(caption.substr(open + 2));
}

TEST(Form1Design, ButtonCaptionNamesTheKeyOfItsCommand) {
    for (const ControlDesign& d : kControls) {
        if (d.kind == ControlKind::PushButton) {
            EXPECT_EQ(key_named_in(d.caption), function_key_of(d.command)) << d.caption;
        }
    }
}

// A box is named by the label under it (an input box) or beside it (a result box).
TEST(Form1Design, EveryControlTheKeyboardReachesHasAnAccessibleName) {
    for (const ControlDesign& d : kControls) {
        if (d.named_by != Control::Other) {
            const ControlDesign* label = find_control({d.named_by, d.index});
            ASSERT_NE(label, nullptr) << name(d);
            EXPECT_EQ(label->kind, ControlKind::Label) << name(d);
            EXPECT_EQ(label->frame, d.frame) << name(d);
            const bool under = label->top >= d.top + d.height && label->left < d.left + d.width &&
                               d.left < label->left + label->width;
            const bool beside = label->top < d.top + d.height && d.top < label->top + label->height;
            EXPECT_TRUE(d.kind == ControlKind::InputBox ? under : beside) << name(d);
        }
        if (takes_focus(d)) {
            EXPECT_STRNE(accessible_name(d), "") << name(d);
        }
    }
}

}  // namespace
