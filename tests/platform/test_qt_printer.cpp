#include <cups/cups.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "platform/linux/cups_submit.h"
#include "platform/linux/fonts.h"
#include "platform/linux/qt_printer.h"
#include "sample_page.h"
#include "support/cups_rig.h"
#include "support/files.h"

namespace {

using ristemo::platform::PrintLine;
using ristemo::platform::PrintResult;
using ristemo::platform::QtPrinter;
using ristemo::test::CupsRig;
using ristemo::test::run_tool;
using ristemo::test::ToolRun;

constexpr double kTolerancePt = 0.5;
constexpr double kTwipsPerPoint = 20.0;

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
    QFont font(QString::fromStdString(line.font_family));
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
    ASSERT_TRUE(result().ok) << result().error;
    EXPECT_TRUE(result().error.empty());
    const ToolRun info = run_tool(QStringLiteral("pdfinfo"), {pdf_path()});
    ASSERT_TRUE(info.finished && info.exit_code == 0) << info.err.constData();
    static const QRegularExpression pages(QStringLiteral(R"(^Pages:\s+(\d+)\s*$)"),
                                          QRegularExpression::MultilineOption);
    const auto m = pages.match(QString::fromUtf8(info.out));
    ASSERT_TRUE(m.hasMatch()) << info.out.constData();
    EXPECT_EQ(m.captured(1), QStringLiteral("1"));
}

TEST_F(PrintedPage, HoldsExactlyTheThirteenLines) {
    ASSERT_TRUE(result().ok) << result().error;
    EXPECT_EQ(lines().size(), ristemo::test::sample_page().size());
}

// One row per printed line: where pdftotext finds it, its text, and the ink on the picture.
class PrintedLine : public PrintedPage, public ::testing::WithParamInterface<int> {};

TEST_P(PrintedLine, StandsAtItsPositionWithItsText) {
    ASSERT_TRUE(result().ok) << result().error;
    const int index = GetParam();
    const PrintLine expected = ristemo::test::sample_page().at(index);
    ASSERT_LT(static_cast<std::size_t>(index), lines().size());
    const TextLine& found = lines()[index];

    // The painter puts the baseline one ascent below the line's top; pdftotext puts a word's
    // yMin one ascent (the font's own) above the baseline, so yMin is the top that was asked for.
    EXPECT_NEAR(found.x_min, expected.x_twips / kTwipsPerPoint, kTolerancePt);
    EXPECT_NEAR(found.y_min, expected.y_twips / kTwipsPerPoint, kTolerancePt);
    EXPECT_EQ(rebuild_text(found, blank_width_pt(expected)).toStdString(), expected.text);
}

TEST_P(PrintedLine, IsInkedFromItsLeftEdge) {
    ASSERT_TRUE(result().ok) << result().error;
    ASSERT_FALSE(picture().isNull()) << "pdftoppm gave no picture";
    const std::vector<PrintLine> page = ristemo::test::sample_page();
    const PrintLine expected = page.at(GetParam());
    const double px_per_twip = 100.0 / 1440.0;
    const double left = expected.x_twips * px_per_twip;
    const double top = expected.y_twips * px_per_twip;
    const double step = (page.at(1).y_twips - page.at(0).y_twips) * px_per_twip;

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
    ASSERT_TRUE(result().ok) << result().error;
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
    EXPECT_EQ(result.error, std::string(c.reason));
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

using Driver = CupsRig::Driver;

// The media CUPS recorded for a job, read back over IPP.
QString job_media(int job) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const QByteArray uri = "ipp://localhost/jobs/" + QByteArray::number(job);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "media");
    ipp_t* answer = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    QString media;
    if (ipp_attribute_t* a = ippFindAttribute(answer, "media", IPP_TAG_ZERO))
        media = QString::fromUtf8(ippGetString(a, 0, nullptr));
    ippDelete(answer);
    return media;
}

// The default queue decides the paper, the printable area and what the user is told.
struct QueueCase {
    const char* name;
    const char* paper;                            // of the default queue; nullptr: no default queue
    Driver driver;                                // where the queue's paper comes from
    const char* user_paper;                       // chosen with lpoptions; nullptr: none
    bool paused;                                  // disabled with cupsdisable
    bool stopped;                                 // the scheduler is stopped before printing
    double width_pt, height_pt, left_pt, top_pt;  // the page CUPS receives
    const char* job_media;
    const char* error;
    const char* notice;
};
void PrintTo(const QueueCase& c, std::ostream* os) {
    *os << c.name;
}

class DefaultQueue : public ::testing::TestWithParam<QueueCase> {};

TEST_P(DefaultQueue, PrintsOnItsPaperOrSaysWhy) {
    const QueueCase& c = GetParam();
    CupsRig rig;
    ASSERT_TRUE(rig.start()) << "cupsd and lpstat are needed (scripts/install-deps)\n"
                             << rig.log().constData();
    // Another queue on the other paper, so that the default is really chosen.
    ASSERT_TRUE(rig.add_queue(QStringLiteral("altra"), QStringLiteral("A4"), Driver::TestPpd));
    const QString queue = QStringLiteral("predefinita");
    if (c.paper) {
        ASSERT_TRUE(rig.add_queue(queue, QString::fromLatin1(c.paper), c.driver));
        ASSERT_TRUE(rig.admin(QStringLiteral("/usr/sbin/lpadmin"), {QStringLiteral("-d"), queue}));
    }
    if (c.user_paper) {
        ASSERT_TRUE(rig.admin(QStringLiteral("lpoptions"),
                              {QStringLiteral("-p"), queue, QStringLiteral("-o"),
                               QStringLiteral("media=") + QString::fromLatin1(c.user_paper)}));
    }
    if (c.paused) {
        ASSERT_TRUE(rig.admin(QStringLiteral("/usr/sbin/cupsdisable"), {queue}));
    }
    if (c.stopped) rig.stop();

    QtPrinter printer;
    const PrintResult result = printer.print_page(ristemo::test::sample_page());
    EXPECT_EQ(result.error, std::string(c.error));
    EXPECT_EQ(result.notice, std::string(c.notice));
    EXPECT_EQ(result.ok, *c.error == '\0');
    if (!result.ok) return;

    const QString document = rig.document(1);
    const ToolRun info = run_tool(QStringLiteral("pdfinfo"), {document});
    ASSERT_TRUE(info.finished && info.exit_code == 0) << info.err.constData();
    static const QRegularExpression size(
        QStringLiteral(R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)"));
    const auto m = size.match(QString::fromUtf8(info.out));
    ASSERT_TRUE(m.hasMatch()) << info.out.constData();
    EXPECT_NEAR(m.captured(1).toDouble(), c.width_pt, 1.0);
    EXPECT_NEAR(m.captured(2).toDouble(), c.height_pt, 1.0);
    // The first line stands 200 twips (10 pt) inside the printable area's corner.
    const std::vector<TextLine> lines = group_lines(read_words(document));
    ASSERT_FALSE(lines.empty());
    EXPECT_NEAR(lines.front().x_min, c.left_pt + 10.0, kTolerancePt);
    EXPECT_NEAR(lines.front().y_min, c.top_pt + 10.0, kTolerancePt);
    EXPECT_EQ(job_media(1).toStdString(), std::string(c.job_media));
}

const char* const kHeld =
    "La pagina attende nella coda della stampante \"predefinita\", che è in pausa: uscirà "
    "quando la stampante sarà riattivata.";

INSTANTIATE_TEST_SUITE_P(
    Queues, DefaultQueue,
    ::testing::Values(QueueCase{"Letter", "Letter", Driver::TestPpd, nullptr, false, false, 612,
                                792, 18, 36, "na_letter_8.5x11in", "", ""},
                      QueueCase{"CupsPdfA4", "A4", Driver::CupsPdf, nullptr, false, false, 595, 842,
                                0, 0, "iso_a4_210x297mm", "", ""},
                      QueueCase{"CupsPdfLetter", "Letter", Driver::CupsPdf, nullptr, false, false,
                                612, 792, 0, 0, "na_letter_8.5x11in", "", ""},
                      QueueCase{"A4WithMargins", "A4", Driver::TestPpd, nullptr, false, false, 595,
                                842, 12, 24, "iso_a4_210x297mm", "", ""},
                      QueueCase{"UserPaperOverTheQueue", "A4", Driver::TestPpd, "Letter", false,
                                false, 612, 792, 18, 36, "na_letter_8.5x11in", "", ""},
                      QueueCase{"RawLetter", "Letter", Driver::Raw, nullptr, false, false, 612, 792,
                                0, 0, "na_letter_8.5x11in", "", ""},
                      QueueCase{"Paused", "Letter", Driver::TestPpd, nullptr, true, false, 612, 792,
                                18, 36, "na_letter_8.5x11in", "", kHeld},
                      QueueCase{"NoDefault", nullptr, Driver::TestPpd, nullptr, false, false, 0, 0,
                                0, 0, "", "nessuna stampante predefinita", ""},
                      QueueCase{"ServiceStopped", "Letter", Driver::TestPpd, nullptr, false, true,
                                0, 0, 0, 0, "", "il servizio di stampa non risponde", ""}),
    [](const ::testing::TestParamInfo<QueueCase>& info) { return std::string(info.param.name); });

// CUPS is loaded only when a job is submitted: with no server to take it, the refusal carries
// CUPS's own reason, which shows the library was found and called.
TEST(CupsSubmission, RefusedJobCarriesTheReasonFromCups) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString page = dir.filePath(QStringLiteral("pagina"));
    ASSERT_TRUE(ristemo::test::write_file(page, "%!PS\nshowpage\n"));

    for (const QByteArray& media : {QByteArray("A4"), QByteArray()}) {
        SCOPED_TRACE(media.isEmpty() ? "without media" : "with media");
        const auto submitted =
            ristemo::platform::cups_print_file("ristemo-no-such-queue", page, media);
        EXPECT_EQ(submitted.job, 0);
        EXPECT_FALSE(submitted.error.trimmed().isEmpty());
        EXPECT_NE(submitted.error, QStringLiteral("la libreria di stampa CUPS non è installata"));
    }
}

}  // namespace

int main(int argc, char** argv) {
    // CUPS reads its server once per thread: every scheduler of the rig answers at one socket, and
    // neither the machine's printers nor the user's lpoptions take part.
    QTemporaryDir cups_base(QDir::tempPath() + QStringLiteral("/ristemo-cups-XXXXXX"));
    if (!cups_base.isValid()) return 1;
    CupsRig::base() = cups_base.path();
    qputenv("CUPS_SERVER", CupsRig::socket().toUtf8());
    qputenv("CUPS_SERVERROOT", cups_base.path().toUtf8());
    qputenv("HOME", cups_base.path().toUtf8());
    QGuiApplication app(argc, argv);
    ristemo::platform::install_font_substitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
