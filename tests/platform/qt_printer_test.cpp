#include "platform/qt_printer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "platform/cups_submit.h"
#include "platform/fonts.h"
#include "sample_page.h"

namespace {

using ristemo::platform::PrintLine;
using ristemo::platform::PrintResult;
using ristemo::platform::QtPrinter;

constexpr double kTolerancePt = 0.5;
constexpr double kTwipsPerPoint = 20.0;

struct ToolRun {
    bool finished = false;
    int exit_code = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun run_tool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    ToolRun run;
    if (!process.waitForStarted(10000) || !process.waitForFinished(60000)) return run;
    run.finished = process.exitStatus() == QProcess::NormalExit;
    run.exit_code = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

struct Word {
    double x_min = 0, y_min = 0, x_max = 0, y_max = 0;
    QString text;
};

// The words of the PDF's first page with their boxes in points from the page's top-left corner.
std::vector<Word> read_words(const QString& pdf) {
    const ToolRun run =
        run_tool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-enc"),
                                               QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(run.finished && run.exit_code == 0) << run.err.constData();
    static const QRegularExpression word_pattern(QStringLiteral(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">(.*?)</word>)re"));
    std::vector<Word> words;
    auto it = word_pattern.globalMatch(QString::fromUtf8(run.out));
    while (it.hasNext()) {
        const auto m = it.next();
        words.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(),
                         m.captured(3).toDouble(), m.captured(4).toDouble(),
                         m.captured(5)});  // the sample texts hold no markup characters
    }
    return words;
}

struct TextLine {
    double x_min = 0;
    double y_min = 0;
    std::vector<Word> words;  // left to right
};

// Words whose tops lie within 2 pt of each other belong to one line; lines come top to bottom.
std::vector<TextLine> group_lines(std::vector<Word> words) {
    std::sort(words.begin(), words.end(), [](const Word& a, const Word& b) {
        return a.y_min != b.y_min ? a.y_min < b.y_min : a.x_min < b.x_min;
    });
    std::vector<TextLine> lines;
    for (const Word& w : words) {
        if (lines.empty() || std::abs(w.y_min - lines.back().y_min) > 2.0)
            lines.push_back({w.x_min, w.y_min, {}});
        lines.back().words.push_back(w);
    }
    for (TextLine& line : lines) {
        std::sort(line.words.begin(), line.words.end(),
                  [](const Word& a, const Word& b) { return a.x_min < b.x_min; });
        line.x_min = line.words.front().x_min;
    }
    return lines;
}

// The width of a blank in points in the face the line is printed with. Measured at a large
// pixel size, where hinting does not bend the advance.
double blank_width_pt(const PrintLine& line) {
    QFont font(line.font_family);
    font.setPixelSize(1000);
    font.setBold(line.bold);
    return QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) / 1000.0 * line.point_size;
}

// pdftotext drops blanks and reports words; the blanks between two words come back from the gap
// between them, so runs of blanks (the padded captions) are checked too.
QString rebuild_text(const TextLine& line, double blank_pt) {
    QString text = line.words.front().text;
    for (std::size_t i = 1; i < line.words.size(); ++i) {
        const double gap = line.words[i].x_min - line.words[i - 1].x_max;
        const int blanks = std::max(0, static_cast<int>(std::lround(gap / blank_pt)));
        text += QString(blanks, QLatin1Char(' ')) + line.words[i].text;
    }
    return text;
}

// Pages printed once for every test of the suite: the PDF, its words and its picture.
class PrintedPage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Kept in the build tree so the page can be looked at after a run.
        pdf_path() = QDir::current().absoluteFilePath(QStringLiteral("printed_page.pdf"));
        png_path() = QDir::current().absoluteFilePath(QStringLiteral("printed_page.png"));
        QFile::remove(pdf_path());
        QFile::remove(png_path());
        QtPrinter printer;
        printer.print_to_pdf(pdf_path());
        result() = printer.print_page(ristemo::test::sample_page());
        if (!result().ok) return;
        lines() = group_lines(read_words(pdf_path()));
        const QString base = png_path().chopped(4);
        run_tool(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("100"),
                  QStringLiteral("-singlefile"), pdf_path(), base});
        picture() = QImage(png_path());
    }

    static QString& pdf_path() {
        static QString path;
        return path;
    }
    static QString& png_path() {
        static QString path;
        return path;
    }
    static PrintResult& result() {
        static PrintResult r;
        return r;
    }
    static std::vector<TextLine>& lines() {
        static std::vector<TextLine> l;
        return l;
    }
    static QImage& picture() {
        static QImage image;
        return image;
    }
};

TEST_F(PrintedPage, PrintsOnePageIntoTheFile) {
    ASSERT_TRUE(result().ok) << result().error.toStdString();
    EXPECT_TRUE(result().error.isEmpty());
    const ToolRun info = run_tool(QStringLiteral("pdfinfo"), {pdf_path()});
    ASSERT_TRUE(info.finished && info.exit_code == 0) << info.err.constData();
    static const QRegularExpression pages(QStringLiteral(R"(^Pages:\s+(\d+)\s*$)"),
                                          QRegularExpression::MultilineOption);
    const auto m = pages.match(QString::fromUtf8(info.out));
    ASSERT_TRUE(m.hasMatch()) << info.out.constData();
    EXPECT_EQ(m.captured(1), QStringLiteral("1"));
}

TEST_F(PrintedPage, HoldsExactlyTheThirteenLines) {
    ASSERT_TRUE(result().ok) << result().error.toStdString();
    EXPECT_EQ(lines().size(), ristemo::test::sample_page().size());
}

// One row per printed line: where pdftotext finds it, its text, and the ink on the picture.
class PrintedLine : public PrintedPage, public ::testing::WithParamInterface<int> {};

TEST_P(PrintedLine, StandsAtItsPositionWithItsText) {
    ASSERT_TRUE(result().ok) << result().error.toStdString();
    const int index = GetParam();
    const PrintLine expected = ristemo::test::sample_page().at(index);
    ASSERT_LT(static_cast<std::size_t>(index), lines().size());
    const TextLine& found = lines()[index];

    // The painter puts the baseline one ascent below the line's top; pdftotext puts a word's
    // yMin one ascent (the font's own) above the baseline, so yMin is the top that was asked for.
    EXPECT_NEAR(found.x_min, expected.x_twips / kTwipsPerPoint, kTolerancePt);
    EXPECT_NEAR(found.y_min, expected.y_twips / kTwipsPerPoint, kTolerancePt);
    EXPECT_EQ(rebuild_text(found, blank_width_pt(expected)).toStdString(),
              expected.text.toStdString());
}

TEST_P(PrintedLine, IsInkedFromItsLeftEdge) {
    ASSERT_TRUE(result().ok) << result().error.toStdString();
    ASSERT_FALSE(picture().isNull()) << "pdftoppm gave no picture";
    const PrintLine expected = ristemo::test::sample_page().at(GetParam());
    const double px_per_twip = 100.0 / 1440.0;
    const double left = expected.x_twips * px_per_twip;
    const double top = expected.y_twips * px_per_twip;
    const double step = ristemo::test::kLineStepTwips * px_per_twip;

    // Ink of this line only: the band from a little above its top to well before the next line.
    const int band_top = static_cast<int>(std::floor(top - 0.3 * step));
    const int band_bottom = static_cast<int>(std::ceil(top + 0.7 * step));
    int first_row = -1;
    int first_column = picture().width();
    for (int y = std::max(0, band_top); y < std::min(band_bottom, picture().height()); ++y) {
        for (int x = 0; x < picture().width(); ++x) {
            if (qGray(picture().pixel(x, y)) >= 128) continue;
            if (first_row < 0) first_row = y;
            first_column = std::min(first_column, x);
        }
    }
    ASSERT_GE(first_row, 0) << "no ink where the line should be";
    // Glyphs start a little right of the pen (their side bearing) and below the top (the font's
    // ascent reaches above its capitals), never left of or above the corner.
    const double em_px = expected.point_size * 100.0 / 72.0;
    EXPECT_GE(first_column, std::floor(left) - 1);
    EXPECT_LE(first_column, left + 0.25 * em_px);
    EXPECT_GE(first_row, std::floor(top) - 1);
    EXPECT_LE(first_row, top + 0.5 * em_px);
}

INSTANTIATE_TEST_SUITE_P(Lines, PrintedLine, ::testing::Range(0, 13),
                         [](const ::testing::TestParamInfo<int>& info) {
                             const int number = info.param + 1;
                             std::string name = "Line";
                             name += static_cast<char>('0' + number / 10);
                             name += static_cast<char>('0' + number % 10);
                             return name;
                         });

// The face each of the report's fonts resolves to, and the name the PDF gives it.
struct FaceCase {
    const char* name;
    const char* family;
    double point_size;
    bool bold;
};

QString postscript_name(const QString& resolved_family, bool bold) {
    static const std::map<std::pair<QString, bool>, QString> names = {
        {{QStringLiteral("DejaVu Sans"), true}, QStringLiteral("DejaVuSans-Bold")},
        {{QStringLiteral("Verdana"), true}, QStringLiteral("Verdana-Bold")},
        {{QStringLiteral("Liberation Mono"), false}, QStringLiteral("LiberationMono")},
        {{QStringLiteral("Courier New"), false}, QStringLiteral("CourierNewPSMT")},
    };
    const auto it = names.find({resolved_family, bold});
    return it == names.end() ? QString() : it->second;
}

class PrintedFace : public PrintedPage, public ::testing::WithParamInterface<FaceCase> {};

TEST_P(PrintedFace, IsEmbeddedUnderItsFaceName) {
    ASSERT_TRUE(result().ok) << result().error.toStdString();
    const FaceCase& c = GetParam();
    QFont font(QString::fromUtf8(c.family));
    font.setPointSizeF(c.point_size);
    font.setBold(c.bold);
    const QString resolved = QFontInfo(font).family();
    const QString expected = postscript_name(resolved, c.bold);
    ASSERT_FALSE(expected.isEmpty()) << "unexpected face " << resolved.toStdString();

    const ToolRun fonts = run_tool(QStringLiteral("pdffonts"), {pdf_path()});
    ASSERT_TRUE(fonts.finished && fonts.exit_code == 0) << fonts.err.constData();
    // After the two heading rows: name, type (may hold blanks), encoding, emb, sub, uni, object.
    QStringList rows = QString::fromUtf8(fonts.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(rows.size(), 2);
    rows = rows.mid(2);
    EXPECT_EQ(rows.size(), 2) << "the page should use exactly two faces:\n"
                              << fonts.out.constData();
    bool found = false;
    for (const QString& row : rows) {
        const QStringList cells = row.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        ASSERT_GE(cells.size(), 7) << row.toStdString();
        const QString name = cells.front().section(QLatin1Char('+'), -1);  // drop subset tag
        if (name != expected) continue;
        found = true;
        EXPECT_EQ(cells[cells.size() - 5], QStringLiteral("yes")) << "not embedded";
    }
    EXPECT_TRUE(found) << expected.toStdString() << " missing from:\n" << fonts.out.constData();
}

INSTANTIATE_TEST_SUITE_P(Faces, PrintedFace,
                         ::testing::Values(FaceCase{"Heading", "verdana", 12.0, true},
                                           FaceCase{"DataFirstBlock", "courier new", 10.0, false},
                                           FaceCase{"DataSecondBlock", "Courier new", 10.0, false}),
                         [](const ::testing::TestParamInfo<FaceCase>& info) {
                             return std::string(info.param.name);
                         });

// Pages that cannot be printed are refused with a reason, and nothing is written.
struct RefusalCase {
    const char* name;
    void (*spoil)(std::vector<PrintLine>&);
    bool unwritable_file;
    const char* reason;
};

class Refusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, GivesTheReasonAndWritesNothing) {
    const RefusalCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = c.unwritable_file ? QStringLiteral("/nonexistent/folder/page.pdf")
                                          : dir.filePath(QStringLiteral("page.pdf"));
    std::vector<PrintLine> page = ristemo::test::sample_page();
    if (c.spoil) c.spoil(page);
    QtPrinter printer;
    printer.print_to_pdf(pdf);
    const PrintResult result = printer.print_page(page);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error.toStdString(), std::string(c.reason));
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, Refusal,
    ::testing::Values(RefusalCase{"LineWithoutFont", [](auto& p) { p[2].font_family.clear(); },
                                  false, "la riga 3 non ha un tipo di carattere"},
                      RefusalCase{"LineWithZeroSize", [](auto& p) { p[0].point_size = 0.0; }, false,
                                  "la riga 1 ha una dimensione del carattere non valida"},
                      RefusalCase{"LineAboveThePage", [](auto& p) { p[12].y_twips = -1; }, false,
                                  "la riga 13 cade fuori dalla pagina"},
                      RefusalCase{"FileThatCannotBeWritten", nullptr, true,
                                  "impossibile scrivere il file \"/nonexistent/folder/page.pdf\""}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

// CTest points CUPS at a socket that does not exist, so there is no default printer.
TEST(DefaultPrinter, MissingIsReportedNotIgnored) {
    ASSERT_TRUE(QPrinterInfo::defaultPrinter().isNull())
        << "this test needs CUPS_SERVER set to a missing socket";
    QtPrinter printer;
    const PrintResult result = printer.print_page(ristemo::test::sample_page());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, QStringLiteral("nessuna stampante predefinita"));
}

// CUPS is loaded only when a job is submitted: with no server to take it, the refusal carries
// CUPS's own reason, which shows the library was found and called.
TEST(CupsSubmission, RefusedJobCarriesTheReasonFromCups) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile page(dir.filePath(QStringLiteral("pagina")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("%!PS\nshowpage\n");
    page.close();

    for (const QByteArray& media : {QByteArray("A4"), QByteArray()}) {
        SCOPED_TRACE(media.isEmpty() ? "without media" : "with media");
        const auto submitted =
            ristemo::platform::cups_print_file("ristemo-no-such-queue", page.fileName(), media);
        EXPECT_EQ(submitted.job, 0);
        EXPECT_FALSE(submitted.error.trimmed().isEmpty());
        EXPECT_NE(submitted.error, QStringLiteral("la libreria di stampa CUPS non è installata"));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    ristemo::platform::install_font_substitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
