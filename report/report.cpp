#include "report/report.h"

#include "core/app_info.h"
#include "core/calculation.h"
#include "core/number_format.h"

namespace ristemo::report {

namespace {

using core::format_picture;
using core::PatientRecord;

const Font kHeading{"verdana", 12.0f, true};
const Font kData{"courier new", 10.0f, false};
// The second block names the same face with other capitals.
const Font kDataResults{"Courier new", 10.0f, false};

constexpr int kLeft = 200;
constexpr int kTop = 200;
constexpr int kLineStep = 450;

// Both reports share these lines: the heading line, the inputs and the results, in order.
// Only line 11 (ideal weight and deviation) is worded differently by each.
struct Lines {
    std::string input_creatinine, input_weight, input_height, input_age, input_sex;
    std::string crcl, bmi, bsa, lean_mass;
};

Lines common_lines(const PatientRecord& r) {
    Lines l;
    l.input_creatinine =
        "creatinina plasmatica         : " + format_picture(r.creatinine, "##.0") + " mg/dl";
    l.input_weight = "peso corporeo                 : " + format_picture(r.weight, "###.0") + " Kg";
    l.input_height = "altezza                       : " + format_picture(r.height, "#.0#") + " mt";
    l.input_age = "et\u00e0                           : " + format_picture(r.age, "###") + " anni";
    l.input_sex = r.is_male ? "sesso                         : maschile"
                            : "sesso                         : femminile";
    l.crcl = "Stima clearance creatinina    : " + format_picture(r.crcl, "###") + " ml/min";
    l.bmi = "Body Mass Index               : " + format_picture(r.bmi, "##.0#");
    l.bsa = "stima superficie corporea     : " + format_picture(r.bsa, "#.0#") + " mq";
    l.lean_mass =
        "stima massa magra             : " + format_picture(r.lean_mass, "###.0#") + " Kg";
    return l;
}

const char* const kIdealCaption = "peso ideale / scostamento     : ";

}  // namespace

std::vector<PageLine> build_page(const PatientRecord& r) {
    const Lines l = common_lines(r);
    const std::string ideal = kIdealCaption + format_picture(r.ideal_weight, "##0.0") + " Kg (" +
                              core::deviation_text(r.ideal_percent) + "%)";

    const std::vector<std::pair<Font, std::string>> content = {
        {kHeading, core::kAppTitle}, {kHeading, "Dati in ingresso:"}, {kData, l.input_creatinine},
        {kData, l.input_weight},     {kData, l.input_height},         {kData, l.input_age},
        {kData, l.input_sex},        {kHeading, "Dati calcolati:"},   {kDataResults, l.crcl},
        {kDataResults, l.bmi},       {kDataResults, ideal},           {kDataResults, l.bsa},
        {kDataResults, l.lean_mass},
    };

    std::vector<PageLine> page;
    page.reserve(content.size());
    int y = kTop;
    for (const auto& [font, text] : content) {
        page.push_back({kLeft, y, font, text});
        y += kLineStep;
    }
    return page;
}

std::string build_export_text(const PatientRecord& r) {
    const Lines l = common_lines(r);
    const std::string ideal = kIdealCaption + format_picture(r.ideal_weight, "##0.0") + " Kg  " +
                              format_picture(core::deviation(r.ideal_percent), "###.0") + " pc";
    std::string text;
    for (const std::string& line :
         {std::string(core::kAppTitle), std::string("Dati in ingresso:"), l.input_creatinine,
          l.input_weight, l.input_height, l.input_age, l.input_sex, std::string("Dati calcolati:"),
          l.crcl, l.bmi, ideal, l.bsa, l.lean_mass}) {
        text += line;
        text += r.crlf_text;
    }
    return text;
}

}  // namespace ristemo::report
