#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

#include "form/form1_design.h"

namespace {

using namespace ristemo::form;
using K = ControlKind;
using Cmd = Command;

struct Colour {
    int red, green, blue;  // -1: the desktop's own colours
};
constexpr Colour kSystem{-1, -1, -1};
constexpr Colour kDarkBlue{0, 0, 128};
constexpr Colour kBlue{0, 0, 192};
constexpr Colour kDarkRed{128, 0, 0};

struct ControlRow {
    const char* test_name;
    const char* name;
    int index;
    K kind;
    const char* caption;
    int frame;
    int left, top, width, height, tab;
    const char* tooltip;
    double points;  // Verdana bold in every control
    Colour colour;
    Align align;
    int limit;
    Cmd command;
};

void PrintTo(const ControlRow& row, std::ostream* os) {
    *os << row.test_name;
}

std::string row_name(const testing::TestParamInfo<ControlRow>& info) {
    return info.param.test_name;
}

class ControlDesignRow : public testing::TestWithParam<ControlRow> {};

TEST_P(ControlDesignRow, MatchesTheWindowLayout) {
    const ControlRow& row = GetParam();
    const ControlDesign* d = nullptr;
    for (int c = 0; c <= int(Control::Other); ++c) {
        if (std::string(name_of(Control(c))) == row.name) d = find_control({Control(c), row.index});
    }
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->kind, row.kind);
    EXPECT_STREQ(d->caption, row.caption);
    const ControlDesign* frame = frame_of(*d);
    EXPECT_EQ(frame ? std::string(name_of(frame->name)) : "",
              row.frame == 0 ? std::string() : "Frame" + std::to_string(row.frame));
    EXPECT_EQ(d->left, row.left);
    EXPECT_EQ(d->top, row.top);
    EXPECT_EQ(d->width, row.width);
    EXPECT_EQ(d->height, row.height);
    EXPECT_EQ(d->tab, row.tab);
    EXPECT_STREQ(d->tooltip, row.tooltip);
    const Font font = font_of(d->font);
    EXPECT_STREQ(font.face, "Verdana");
    EXPECT_EQ(font.points, row.points);
    EXPECT_TRUE(font.bold);
    if (row.colour.red < 0) {
        EXPECT_EQ(d->colour, ColourRole::System);
    } else {
        ASSERT_NE(d->colour, ColourRole::System);
        const Rgb rgb = rgb_of(d->colour);
        EXPECT_EQ(rgb.red, row.colour.red);
        EXPECT_EQ(rgb.green, row.colour.green);
        EXPECT_EQ(rgb.blue, row.colour.blue);
    }
    EXPECT_EQ(d->align, row.align);
    EXPECT_EQ(d->max_length, row.limit);
    EXPECT_EQ(d->command, row.command);
}

constexpr int kNo = kNoIndex;
constexpr Align L = Align::Left;
constexpr Align C = Align::Center;

const ControlRow kControlRows[] = {
    {"Frame1", "Frame1", kNo, K::Frame, "INPUT", 0, 120, 0, 7095, 2055, 0, "", 8.25, kBlue, L, 0,
     Cmd::None},
    {"Text1_0", "Text1", 0, K::InputBox, "", 1, 360, 360, 975, 390, 1,
     "immettere creatinina plasmatica in mg/dl", 9.75, kSystem, C, 4, Cmd::None},
    {"Text1_1", "Text1", 1, K::InputBox, "", 1, 1860, 360, 975, 390, 2,
     "peso del soggetto in esame", 9.75, kSystem, C, 5, Cmd::None},
    {"Text1_3", "Text1", 3, K::InputBox, "", 1, 3600, 360, 975, 375, 3,
     "esprimere in mt (es. 1,75)", 9.75, kSystem, C, 4, Cmd::None},
    {"Text1_2", "Text1", 2, K::InputBox, "", 1, 5520, 360, 975, 375, 4, "et\u00e0 in anni", 9.75,
     kSystem, C, 3, Cmd::None},
    {"Option1_0", "Option1", 0, K::OptionButton, "maschio", 1, 360, 1440, 1335, 255, 5, "", 8.25,
     kDarkBlue, L, 0, Cmd::None},
    {"Option1_1", "Option1", 1, K::OptionButton, "femmina", 1, 1800, 1440, 1455, 255, 6, "", 8.25,
     kDarkBlue, L, 0, Cmd::None},
    {"Command1", "Command1", kNo, K::PushButton, "calcola (F5)", 1, 5280, 1320, 1500, 375, 7,
     "procedi al calcolo", 8.25, kSystem, C, 0, Cmd::Calculate},
    {"Label1_0", "Label1", 0, K::Label, "creatinina", 1, 360, 840, 975, 255, 8, "", 8.25, kDarkBlue,
     C, 0, Cmd::None},
    {"Label1_1", "Label1", 1, K::Label, "peso (kg)", 1, 1860, 840, 975, 255, 9, "", 8.25, kDarkBlue,
     C, 0, Cmd::None},
    {"Label1_2", "Label1", 2, K::Label, "et\u00e0 (anni)", 1, 5400, 840, 1215, 255, 10, "", 8.25,
     kDarkBlue, C, 0, Cmd::None},
    {"Label1_3", "Label1", 3, K::Label, "altezza (m)", 1, 3480, 840, 1335, 255, 11, "", 8.25,
     kDarkBlue, C, 0, Cmd::None},
    {"Frame2", "Frame2", kNo, K::Frame, "OUTPUT", 0, 120, 2160, 7095, 2775, 12, "", 8.25, kDarkRed,
     L, 0, Cmd::None},
    {"Label2_0", "Label2", 0, K::Label, "clearance  creatinina stimata", 2, 240, 360, 3375, 255, 13,
     "", 8.25, kSystem, L, 0, Cmd::None},
    {"Label2_1", "Label2", 1, K::Label, "body mass index", 2, 240, 840, 3375, 255, 14, "", 8.25,
     kSystem, L, 0, Cmd::None},
    {"Label2_2", "Label2", 2, K::Label, "peso ideale e scostamento", 2, 240, 1320, 3375, 255, 15,
     "", 8.25, kSystem, L, 0, Cmd::None},
    {"Label2_3", "Label2", 3, K::Label, "superficie corporea", 2, 240, 1800, 3375, 255, 16, "",
     8.25, kSystem, L, 0, Cmd::None},
    {"Label2_4", "Label2", 4, K::Label, "stima massa magra", 2, 240, 2280, 3375, 255, 17, "", 8.25,
     kSystem, L, 0, Cmd::None},
    {"Label3_0", "Label3", 0, K::ResultBox, "", 2, 4680, 240, 2300, 375, 18, "", 12, kDarkRed, C, 0,
     Cmd::None},
    {"Label3_1", "Label3", 1, K::ResultBox, "", 2, 4680, 720, 2300, 375, 19, "", 12, kDarkRed, C, 0,
     Cmd::None},
    {"Label3_2_in_the_window_font", "Label3", 2, K::ResultBox, "", 2, 4680, 1200, 2300, 375, 20, "",
     8.25, kDarkRed, C, 0, Cmd::None},
    {"Label3_3", "Label3", 3, K::ResultBox, "", 2, 4680, 1680, 2300, 375, 21, "", 12, kDarkRed, C,
     0, Cmd::None},
    {"Label3_4", "Label3", 4, K::ResultBox, "", 2, 4680, 2160, 2300, 375, 22, "", 12, kDarkRed, C,
     0, Cmd::None},
    {"Frame3", "Frame3", kNo, K::Frame, "", 0, 120, 4920, 7095, 735, 23, "", 8.25, kSystem, L, 0,
     Cmd::None},
    {"Command3_0", "Command3", 0, K::PushButton, "stampa (F3)", 3, 120, 240, 1500, 375, 24,
     "stampa diretta dei risultati", 8.25, kSystem, C, 0, Cmd::Print},
    {"Command3_1", "Command3", 1, K::PushButton, "notepad (F7)", 3, 1800, 240, 1500, 375, 25,
     "trasferisce i risultati sul notepad", 8.25, kSystem, C, 0, Cmd::Export},
    {"Command3_2", "Command3", 2, K::PushButton, "Esci (F12)", 3, 5280, 240, 1500, 375, 26,
     "chiude il programma", 8.25, kSystem, C, 0, Cmd::Exit},
    {"Command2", "Command2", kNo, K::PushButton, "nuovo (F8)", 3, 3600, 240, 1500, 375, 27,
     "esegue un nuovo calcolo", 8.25, kSystem, C, 0, Cmd::Reset},
};

INSTANTIATE_TEST_SUITE_P(Form1Design, ControlDesignRow, testing::ValuesIn(kControlRows), row_name);

// Each row above stands for one control of the design, and no control is left out.
TEST(Form1Design, HoldsTheseControlsAndNoOthers) {
    EXPECT_EQ(std::size(kControls), std::size(kControlRows));
    for (const ControlDesign& d : kControls) {
        int found = 0;
        for (const ControlRow& row : kControlRows)
            found += std::strcmp(row.name, name_of(d.name)) == 0 && row.index == d.index;
        EXPECT_EQ(found, 1) << name_of(d.name) << "[" << d.index << "]";
    }
    EXPECT_EQ(kClientWidth, 7305);
    EXPECT_EQ(kClientHeight, 5745);
}

// The menu tree in order; a menu's entries follow it one level deeper.
struct MenuRow {
    int level;
    const char* name;
    const char* caption;
    int function_key;
    bool is_menu;
    Cmd command;
};

const MenuRow kMenuRows[] = {
    {1, "mnu_opzioni", "&Opzioni", 0, true, Cmd::None},
    {2, "mnu_calcolo", "Calcolo", 5, false, Cmd::Calculate},
    {2, "mnu_stampa", "Stampa", 3, false, Cmd::Print},
    {2, "mnu_notepad", "Notepad", 7, false, Cmd::Export},
    {2, "mnu_azzera", "Azzera", 8, false, Cmd::Reset},
    {2, "mnu_esci", "Esci", 12, false, Cmd::Exit},
    {1, "mnu_info", "Info", 0, true, Cmd::None},
    {2, "mnu_about", "Ristemo", 0, false, Cmd::About},
    {2, "mnu_sofr", "medical software", 0, true, Cmd::None},
    {3, "mnu_nomra", "terapia anticoagulante", 0, false, Cmd::OpenNomra},
    {3, "mnu_velsor", "stampa rapida ricette", 0, false, Cmd::OpenVelsor},
    {3, "mnu_mirdo", "insulino-resistenza", 0, false, Cmd::OpenMirdo},
    {3, "mnu_zentab", "sito ZENTAB", 0, false, Cmd::OpenZentab},
};

TEST(Form1Design, MenuTree) {
    ASSERT_EQ(std::size(kMenus), std::size(kMenuRows));
    for (std::size_t i = 0; i < std::size(kMenuRows); ++i) {
        const MenuRow& row = kMenuRows[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(kMenus[i].level, row.level);
        EXPECT_STREQ(kMenus[i].name, row.name);
        EXPECT_STREQ(kMenus[i].caption, row.caption);
        EXPECT_EQ(function_key_of(kMenus[i].command), row.function_key);
        EXPECT_EQ(is_menu(i), row.is_menu);
        EXPECT_EQ(kMenus[i].command, row.command);
    }
}

}  // namespace
