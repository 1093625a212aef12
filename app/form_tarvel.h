// The main window's logic: every form-level variable of the program and
// every handler and procedure, reaching the controls only through the
// toolkit operations.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/window_words.h"
#include "data/capacities.h"
#include "data/dsf_reader.h"
#include "interp/coef_table.h"
#include "interp/evaluation.h"
#include "interp/method_checks.h"
#include "interp/tridiagonal.h"
#include "ui/toolkit.h"

namespace tarvel {

using PointArray = std::array<double, kPointCapacity>;

// The test function that OK samples: the first selected option decides.
enum class TestSource { Sine, Cos10, Polynomial, DataSet, None };

// Sine, Cos10 or Polynomial: points sampled from a function.
inline bool isTestFunction(TestSource source)
{
    return source != TestSource::DataSet && source != TestSource::None;
}

class Form_Tarvel {
public:
    explicit Form_Tarvel(const ui::Controls& controls, std::string decimalSeparator = ".");

    // Form-level variables. Every entry starts at 0.
    double Pi = 0;
    double TwoPi = 0;
    double nU = 0;
    double lastU = 0;
    PointArray xU{};
    PointArray yU{};
    double nI = 0;
    double lastI = 0;
    PointArray xI{};
    PointArray yI{};
    double nPoly = 0;
    std::array<double, kPolyCapacity> aPoly{};
    double nDeg = 0;
    bool dataReady = false;
    double yMin = 0;
    double yMax = 0;

    // Given points (OK command and test functions).
    void TestFunction();
    double SinFunc(double x) const;
    double Cos10Fu(double x) const;
    double Polynom(double n, double x) const;

    // Drawing.
    void testFciz();
    void UcNokCiz();
    void Enterp_Nok_Ciz();

    // Interpolation.
    void EntNokDag();
    void Tarvel(int i, int j);

    void PictureScale();

    // Event handlers.
    void Form_Load();
    void Command1_Click();
    void File1_Click();
    void Command2_Click();
    void Mn_About_Click();
    void Option_DataSet_Click();
    void Option_InterCubc_Click();
    void Option_Tarvel_Click();
    void Option_InterPwCb_Click();
    void Option_Polynom_Click();
    void Option_SinFunc_Click();
    void Option_Cos10Fu_Click();
    void Dir1_Change();
    void Drive1_Change();
    // The user opened a directory of Dir1 that cannot be read; the lists
    // stay where they were.
    void Dir1_Unreadable(const std::string& path);

    // The click handler of each option button, by the button's name.
    using Handler = void (Form_Tarvel::*)();
    struct NamedHandler {
        std::string_view control;
        Handler handler;
    };
    static const std::array<NamedHandler, 7> kOptionHandlers;

private:
    TestSource selectedSource() const;
    const ui::TextBox& polyCoefBox(std::size_t k) const;
    void showMessage(const std::string& text, const std::string& informative = {});
    // The value of a text box, or nothing (after telling the user) when the
    // number is too large for a double.
    // Also notes, for the status line, a text that was not a number alone.
    std::optional<double> readNumber(const ui::TextBox& box, Entry entry,
                                     std::size_t coefficient = 0);
    Refused checkGivenPointsRequest(double count) const;
    // A count read from Text_nU that reaches past the given points that
    // exist.
    Refused checkExistingPoints(double count) const;
    bool okPasses();
    void listSection(std::string_view title, std::span<const double> values, std::size_t columns,
                     std::string_view ending);
    void listGivenPoints();
    Refused checkTestPolynomial(double degree,
                                const std::array<double, kPolyCapacity>& coefs) const;
    void listCoefficients(const CoefTable& table, const MethodRow& method);
    void drawAxes();
    // The inputs of a Calculate, read and checked before anything changes.
    struct CalculateInput {
        double nU = 0;
        double nDeg = 0;
    };
    // The method of the option selected in Frame2 (exactly one always is).
    Method chosenMethod() const;
    std::optional<CalculateInput> calculatePasses(const MethodRow& method);
    void adopt(const CalculateInput& input, const MethodRow& method);
    // What a Calculate changes, kept so that a refusal found only while
    // computing can put it back.
    struct CalculateState {
        double nI, lastI, nU, lastU, nDeg;
        PointArray xI, yI;
        std::array<Settlement, kPointCapacity> settled;
    };
    CalculateState calculateState() const;
    void restore(const CalculateState& state);
    bool computeCoefficients(CoefTable& table, const MethodRow& method);
    // Shows the problem, if any; true when there is none.
    bool passes(const std::optional<std::string>& problem);
    bool passes(const Refused& refusal);
    void evaluateInterpolationPoints(const CoefTable& table, const MethodRow& method);
    bool resultsFinite(const CoefTable& table) const;
    InputRefusal overflowProblem(const MethodRow& method) const;

    // What the picture shows, for the study aids, and the status sentences.
    // What produced the given points now held; the option selected now may
    // differ.
    TestSource givenSource() const { return givenSource_; }
    std::optional<double> exactValue(double x) const;
    std::string functionName() const;
    static std::string functionName(TestSource source);
    // What gave the given points held, to the last parameter.
    std::string sourceKey() const;
    // The method's name with its degree where it has one, for the status
    // sentence or (legend) for the picture.
    std::string methodName(const MethodRow& method, bool legend) const;
    // With the interpolation points of `calculated` when a Calculate drew
    // them; nullptr after OK.
    ui::Study study(const MethodRow* calculated) const;
    std::string okSentence(TestSource chosen) const;
    std::string calculateSentence(const ui::Study& drawn, const MethodRow& method) const;
    void showStatus(std::string sentence);
    void refuse(Command command);
    void plotPoint(double x, double y);
    void plotLineTo(double x, double y, ui::Colour colour);
    void plotLine(double x1, double y1, double x2, double y2, std::optional<ui::Colour> colour);
    void plotCircle(double x, double y, double radius, ui::Colour colour);

    // The given points that exist: those of the last successful sampling by
    // OK or of the last successful load. No count read from Text_nU may
    // reach past them.
    double existingPoints_ = 0;
    // What produced the given points held: DataSet after a load, the test
    // function after a sampling that replaced them, None before either.
    TestSource givenSource_ = TestSource::None;
    std::string dataSetName_;  // file name of the last data set loaded
    // How the interpolation points of the picture were settled: by the last
    // Calculate, all None after an OK (which draws none of them).
    std::array<Settlement, kPointCapacity> settled_{};
    // Notes on the texts read by the running command.
    std::vector<std::string> readingNotes_;

    // Loading a data-set file (data/file_load.cpp): the click starts the
    // read, finishLoad stores or refuses once the whole file is read.
public:
    // True, after telling the user, while a data-set file is being read:
    // no command may run between a half-done load and its end.
    bool refuseWhileReading();
    // What the given points that exist came from.
    struct GivenPointsOrigin {
        double existingPoints;
        bool fileLoaded;
        std::string dataSetName;
    };
    GivenPointsOrigin givenPointsOrigin() const;

private:
    void finishLoad(const std::string& shownName, const DataSetRead& read);
    void refuseLoad(const std::string& why);
    std::string keptNote() const;
    std::string readingFile_;  // the full name of the file being read

    ui::Controls c_;
    std::string decimalSeparator_;
    std::string acceptedDrive_;
};

}  // namespace tarvel
