// Study files: a study written and read back is the same bit for bit, and
// a damaged, newer or out-of-range file is refused with its reason.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <limits>

#include "lab/study_file.h"
#include "support/exact_bits.h"

namespace tarvel {
namespace {

Study typedStudy()
{
    Study study;
    LabSettings& s = study.start.settings;
    s.function = LabFunction::Expression;
    s.family = NodeFamily::Lobatto;
    s.ownNodes = true;
    s.count = 4;
    s.parameters.set(StudyMethod::Local, 3);
    s.parameters.set(StudyMethod::Fh, 7);
    s.parameters.set(StudyMethod::BSpline, 9);
    s.parameters.globalForm = GlobalForm::Monomial;
    s.view = LabView::Derivative;
    s.noise = 1e-6;
    s.noiseSeed = 123456;
    s.pickedNode = 2;
    s.shown[methodIndex(StudyMethod::Natural)] = true;
    s.shown[methodIndex(StudyMethod::Clamped)] = true;
    study.start.expression = parseExpression("exp(x) sin(10x) · π").expression;
    study.start.polynomial.coefs = {0.1 + 0.2, -0.0, 1e-300, 5e-324, 1.7976931348623157e308};
    study.start.polynomial.degree = 3;
    study.start.data = {{0, 1}, {1.0 / 3, 2}};
    study.start.ownXs = {0, 1.0 / 3, 0.7, 1};
    for (const double x : study.start.ownXs)
        study.nodes.push_back({x, study.start.expression->value(x)});
    study.nodes[1].y += 0.125;  // dragged off f
    study.zoom = WorldRect{0.1, 2.5, 0.9, -1e-9};
    study.title = "Line one \"quoted\"\n\\ and \x01";
    study.lesson = Lesson{"Runge’s “phenomenon”", "The ends.\n\nThen the middle.",
                          "Why \\ there?", "Because\t\"ω\" is large."};
    return study;
}

void expectSameBits(const NodeList& a, const NodeList& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_TRUE(support::sameBitsAs(a[i].x, b[i].x)) << i;
        EXPECT_TRUE(support::sameBitsAs(a[i].y, b[i].y)) << i;
    }
}

TEST(StudyFile, AStudyComesBackBitForBit)
{
    const Study written = typedStudy();
    const StudyRead read = readStudyFile(studyFileText(written));
    ASSERT_TRUE(read.study) << read.refusal;
    const Study& back = *read.study;
    EXPECT_EQ(back.start.settings, written.start.settings);
    EXPECT_EQ(back.start.expression->text(), written.start.expression->text());
    for (std::size_t k = 0; k < written.start.polynomial.coefs.size(); ++k)
        EXPECT_TRUE(
            support::sameBitsAs(back.start.polynomial.coefs[k], written.start.polynomial.coefs[k]))
            << k;
    expectSameBits(back.nodes, written.nodes);
    expectSameBits(back.start.data, written.start.data);
    EXPECT_EQ(back.start.ownXs, written.start.ownXs);
    ASSERT_TRUE(back.zoom);
    EXPECT_EQ(*back.zoom, *written.zoom);
    EXPECT_EQ(back.title, written.title);
    EXPECT_EQ(back.lesson, written.lesson);
    EXPECT_EQ(studyFileText(back), studyFileText(written));

    const StudyModel opened = modelOf(back);
    ASSERT_TRUE(opened.model) << opened.refusal;
    expectSameBits(opened.model->nodes(), written.nodes);
    EXPECT_TRUE(opened.model->edited()) << "the dragged node stays an edit";
    EXPECT_EQ(opened.model->functionLabel(), "f(x) = exp(x) sin(10x) · π");
    expectSameBits(studyOf(*opened.model).nodes, written.nodes);
}

struct DamagedFile {
    const char* name;
    std::string text;
    std::string refusal;
};

// The good study with one of its lines (the last one too) set to value.
std::string withLine(const std::string& key, const std::string& value)
{
    std::string text = studyFileText(typedStudy());
    const std::size_t start = text.find("\n  \"" + key + "\": ") + 1;
    const std::size_t end = text.find('\n', start);
    const bool last = text[end - 1] != ',';
    return text.replace(start, end - start, "  \"" + key + "\": " + value + (last ? "" : ","));
}

TEST(StudyFile, DamagedNewerAndOutOfRangeFilesAreRefusedWithTheirReason)
{
    const std::string good = studyFileText(typedStudy());
    const std::vector<DamagedFile> files = {
        {"empty", "", "The study file is damaged: the text ends before a value at byte 1."},
        {"cut short", good.substr(0, 40),
         "The study file is damaged: the text ends inside quotes at byte 41."},
        {"text after the end", good + "x",
         "The study file is damaged: text after the end of the study at byte " +
             std::to_string(good.size() + 1) + "."},
        {"not a study", "{\"format\": \"other\"}",
         "The study file is damaged: it is not a Tarvel study (no \"format\": \"tarvel-study\")."},
        {"nested too deep", std::string(40, '['),
         "The study file is damaged: values nested too deep at byte 18."},
        {"newer version", withLine("version", "2"),
         "The study file cannot be opened: it was written by a newer Tarvel (version 2); this one "
         "reads versions up to 1."},
        {"version zero", withLine("version", "0"),
         "The study file cannot be opened: \"version\" is 0; it must be a whole number from 1 to "
         "1."},
        {"count out of range", withLine("count", "5000"),
         "The study file cannot be opened: \"count\" is 5000; it must be a whole number from 2 to "
         "1001."},
        {"fractional degree", withLine("degree", "2.5"),
         "The study file cannot be opened: \"degree\" is 2.5; it must be a whole number from 0 to "
         "100."},
        {"unknown function", withLine("function", "\"gamma\""),
         "The study file cannot be opened: \"function\" is \"gamma\", which this lab does not "
         "know."},
        {"unknown global form", withLine("globalForm", "\"chebfun\""),
         "The study file cannot be opened: \"globalForm\" is \"chebfun\", which this lab does "
         "not know."},
        {"unknown method", withLine("methods", "[\"magic\"]"),
         "The study file cannot be opened: \"methods\" names a method this lab does not know."},
        {"picked node out of range", withLine("pickedNode", "1001"),
         "The study file cannot be opened: \"pickedNode\" is 1001; it must be a whole number from "
         "0 to 1000."},
        {"count a text", withLine("count", "\"11\""),
         "The study file is damaged: \"count\" is not of its kind."},
        {"refused function", withLine("expression", "\"sinx\""),
         "The study file cannot be opened: its function is refused: col 1: 'sinx' is not known; "
         "did you mean sin(x)?."},
        {"nodes not pairs", withLine("nodes", "[[0, 1, 2]]"),
         "The study file is damaged: \"nodes\" holds an entry that is not a pair of numbers."},
        {"a number beyond range", withLine("degree", "1e999"),
         "The study file is damaged: a number beyond the range of numbers at byte "},
        {"zoom upside down",
         withLine("zoom", "{\"left\": 1, \"right\": 0, \"bottom\": 0, \"top\": 1}"),
         "The study file cannot be opened: \"zoom\" is not a rectangle."},
        {"noise not on a decade", withLine("noise", "3e-6"),
         "The study file cannot be opened: \"noise\" is 3e-06; it must be 0 or a decade from "
         "1e-15 to 1e-2."},
        {"a negative seed", withLine("noiseSeed", "-1"),
         "The study file cannot be opened: \"noiseSeed\" is -1; it must be a whole number from 0 "
         "to 999999."},
        {"a broken escape", withLine("title", "\"\\q\""),
         "The study file is damaged: an unknown escape at byte "},
        {"a lesson without its answer",
         withLine("lesson", "{\"title\": \"t\", \"look\": \"l\", \"question\": \"q\"}"),
         "The study file is damaged: \"answer\" is missing."},
        {"a lesson that is a text", withLine("lesson", "\"Runge\""),
         "The study file is damaged: \"lesson\" is not of its kind."},
    };
    for (const DamagedFile& file : files) {
        SCOPED_TRACE(file.name);
        const StudyRead read = readStudyFile(file.text);
        EXPECT_FALSE(read.study);
        // Where the fault is found far into the file, its byte is left out.
        const bool atSomeByte = file.refusal.ends_with("at byte ");
        EXPECT_EQ(atSomeByte ? read.refusal.substr(0, file.refusal.size()) : read.refusal,
                  file.refusal);
    }
}

TEST(StudyFile, AStudyWithoutALessonWritesAndReadsNone)
{
    Study study = typedStudy();
    study.lesson.reset();
    const std::string text = studyFileText(study);
    EXPECT_EQ(text.find("\"lesson\""), std::string::npos);
    const StudyRead read = readStudyFile(text);
    ASSERT_TRUE(read.study) << read.refusal;
    EXPECT_FALSE(read.study->lesson);
}

TEST(StudyFile, NodesTheSettingsCannotTakeAreRefused)
{
    Study study = typedStudy();
    study.nodes.pop_back();
    EXPECT_NE(modelOf(study).refusal.find("The study has 3 nodes where its settings give 4"),
              std::string::npos);
    study = typedStudy();
    study.nodes[2].x = study.nodes[1].x;
    EXPECT_NE(modelOf(study).refusal.find("x must rise"), std::string::npos);
    study = typedStudy();
    study.start.settings.view = LabView::Convergence;
    EXPECT_FALSE(modelOf(study).model) << "own nodes have no convergence view";
}

// The figures a lesson's answer quotes are those the lab shows for its
// study, to the digits quoted: a change in a method that moves them makes
// the answer wrong.
TEST(StudyFile, LessonAnswersQuoteTheLargestErrorsTheLabShows)
{
    struct Quote {
        const char* file;
        StudyMethod method;
        const char* figure;  // as the answer writes it
    };
    const Quote quotes[] = {
        {"01-runge.tarvel", StudyMethod::Global, "1.9"},
        {"03-noise.tarvel", StudyMethod::Global, "0.0058"},
        {"03-noise.tarvel", StudyMethod::Natural, "3.0e-5"},
        {"07-rational.tarvel", StudyMethod::Global, "60"},
        {"07-rational.tarvel", StudyMethod::Aaa, "4.4e-16"},
        {"08-monomial.tarvel", StudyMethod::Global, "0.13"},
    };
    for (const Quote& quote : quotes) {
        SCOPED_TRACE(quote.file);
        std::ifstream in(std::string(TARVEL_SOURCE_LESSONS_DIR) + "/" + quote.file,
                         std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const StudyRead read = readStudyFile(text.str());
        ASSERT_TRUE(read.study && read.study->lesson) << read.refusal;
        EXPECT_NE(read.study->lesson->answer.find(quote.figure), std::string::npos);
        const StudyModel opened = modelOf(*read.study);
        ASSERT_TRUE(opened.model) << opened.refusal;
        const std::optional<ErrorFigures>& figures = opened.model->outcome(quote.method).figures;
        ASSERT_TRUE(figures);
        // Two significant digits round off less than 5 %.
        const double quoted = std::stod(quote.figure);
        EXPECT_NEAR(figures->maxError, quoted, 0.05 * quoted) << studyMethodKey(quote.method);
    }
}

}  // namespace
}  // namespace tarvel
