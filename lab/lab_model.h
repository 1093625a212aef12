// The interpolation lab without a window: the settings, the nodes and their
// edits, which methods can take the nodes (and why not), and every shown
// method's values and figures on the 10,001-point grid. Each change either
// applies whole or is refused with a sentence and changes nothing.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "interp/error_bound.h"
#include "interp/error_figures.h"
#include "interp/expression.h"
#include "interp/interpolant.h"
#include "lab/lab_export.h"
#include "lab/lab_nodes.h"
#include "lab/method_work.h"
#include "lab/lab_settings.h"

namespace tarvel {

// What the lab takes from the main window when it opens.
struct LabStart {
    LabSettings settings;
    PolynomialEntries polynomial;
    std::shared_ptr<const Expression> expression;  // a typed function, if any
    std::vector<double> ownXs;  // the user's own abscissae, if any, in increasing order
    NodeList data;  // the main window's given points, in their order
};

using Refusal = std::optional<std::string>;

// How far noise on the node values moved a method's curve on the grid,
// against the largest noise on a node.
struct NoiseEffect {
    StudyMethod method;
    double change = 0;
    double noise = 0;
};

// "error 3.1e-3 from noise 2e-6: 1,600 ×"
std::string noiseEffectText(const NoiseEffect& effect);

// What the effects of the noise are computed from, copied so that a worker
// can compute them while the model goes on.
struct NoiseEffectInputs {
    std::vector<double> xs;  // the nodes without the noise
    std::vector<double> ys;
    double noise = 0;  // the largest noise on a node
    MethodSettings settings;
    std::vector<std::pair<StudyMethod, Interpolant>> noisy;  // each shown method, as built
};

// Each method rebuilt on the nodes without the noise and compared with its
// noisy build on the error grid; as far as it got once stop is requested.
std::vector<NoiseEffect> noiseEffectsOf(const NoiseEffectInputs& inputs,
                                        std::stop_token stop = {});

// "Noise 1e-6 of the range, seed 1: Global polynomial error …."; empty
// without effects.
std::string noiseEffectSentence(const LabSettings& settings,
                                const std::vector<NoiseEffect>& effects);

// The band the bound view draws over a method's error: the largest Taylor
// coefficient of the order the error formula takes (n for the global
// polynomial, the degree + 1 for the local one), or why there is none.
struct ErrorBand {
    int order = 0;
    DerivativeMaximum coefficient;
    std::string refusal;  // empty when there is a band
};

class LabModel {
public:
    // With deferLongWork, even the first computation leaves its long work
    // pending (see setDeferLongWork).
    explicit LabModel(LabStart start, bool deferLongWork = false);

    const LabSettings& settings() const { return settings_; }
    // What a second lab of the same function starts from.
    LabStart start() const { return {settings_, polynomial_, expression_, ownXs_, data_}; }
    const NodeList& nodes() const { return nodes_.nodes(); }
    const PolynomialEntries& polynomial() const { return polynomial_; }
    const NodeList& data() const { return data_; }
    bool edited() const { return nodes_.edited(); }
    // What closing the lab would lose ("edited nodes"); empty when nothing:
    // no edit, or the nodes as they were last saved.
    std::string unsavedEdits() const;
    void markNodesSaved() { savedNodes_ = nodes_.nodes(); }
    // A study holds the nodes and the typed function too.
    void markStudySaved()
    {
        markNodesSaved();
        savedExpression_ = expression_;
    }
    bool canUndo() const { return nodes_.canUndo(); }
    bool canRedo() const { return nodes_.canRedo(); }
    std::optional<StudyFunction> function() const;
    bool hasFunction() const { return function().has_value(); }
    // f, f' or f'' (order 0, 1, 2) on errorGrid(); empty for data.
    const std::vector<double>& exact(int order) const;
    const MethodOutcome& outcome(StudyMethod method) const;
    std::string functionLabel() const;

    Refusal setFunction(LabFunction function);
    // Reads a typed function and, when it is finite on the whole grid,
    // studies it; otherwise the lab stays as it was.
    Refusal setExpression(std::string_view text);
    // The last typed function taken, if any.
    const std::shared_ptr<const Expression>& expression() const { return expression_; }
    Refusal setFamily(NodeFamily family);
    Refusal setCount(int count);
    // The parameter of a method that has one (the local degree, fh's d,
    // bspline's k), within its row's range.
    Refusal setParameter(StudyMethod method, int value);
    void setShown(StudyMethod method, bool shown);
    // How the global polynomial is evaluated; never refused.
    Refusal setGlobalForm(GlobalForm form);
    Refusal setView(LabView view);
    // Noise on the values the lab takes from the function or the main
    // window (not on values the user typed or dragged): a level of the
    // noise slider, and the seed that draws it. The nodes are taken again.
    Refusal setNoise(double level);
    void setNoiseSeed(std::uint64_t seed);
    // With noise, how far it moves each shown method's curve on the grid
    // against the largest noise on a node ("Noise 1e-6 of the range, seed
    // 1: Global polynomial error 3.1e-3 from noise 2e-6: 1,600 ×."): at most
    // the Lebesgue constant for a method linear in the data. Empty without
    // noise, or once the nodes are edited.
    std::string noiseEffect() const;
    std::vector<NoiseEffect> noiseEffects() const;
    // Nothing without noise, or when the nodes were edited (no noise to
    // tell apart) or no shown method is built.
    std::optional<NoiseEffectInputs> noiseEffectInputs() const;
    // The node whose influence the cardinal view shows, 0 to n - 1.
    Refusal setPickedNode(std::size_t node);
    // The picked node's cardinal function at curveGrid() for a shown method
    // linear in the data, in the cardinal view; empty otherwise.
    const std::vector<double>& cardinal(StudyMethod method) const;
    // The band of the global or the local polynomial in the bound view.
    const ErrorBand& band(StudyMethod method) const;

    // The user's own nodes, as one step of Undo: with a function they take
    // its values at their x (and the nodes become the user's own), for data
    // their own y (withY). Refused, changing nothing, for fewer than 2 or
    // more than 1001 nodes, x not rising or a value that is not finite.
    Refusal replaceNodes(NodeList nodes, bool withY);
    // The nodes as a study left them: the same number, x rising, values
    // finite, taken as they are (as an edit), as one step of Undo.
    Refusal showNodes(NodeList nodes);
    // The nodes' own choice: the family's nodes, or the user's own.
    Refusal setOwnNodes(bool own);

    // A drag of node i: y follows, and with moveX its x too.
    void beginDrag();
    bool moveNode(std::size_t i, double x, double y, bool moveX);
    void finishDrag();
    bool dragging() const { return nodes_.dragging(); }
    // One step of the nodes back or forth: a drag, an edit, or a choice of
    // family or own nodes. Refused, changing nothing, when there is none, or
    // when it would bring own nodes back into the convergence view.
    Refusal undo();
    Refusal redo();
    bool resetNodes();

    // Off (the default), every change computes each shown method's values
    // at once. On, the values of a method that takes longer than a frame
    // are left pending (MethodOutcome::pending) as work for takeLongWork().
    void setDeferLongWork(bool defer) { deferLongWork_ = defer; }
    bool defersLongWork() const { return deferLongWork_; }
    // The work left pending since the last call, the latest for each method.
    std::vector<MethodWork> takeLongWork();
    // Takes a result of that work when it still belongs to the nodes and
    // settings (true); a result of an earlier state is dropped.
    bool takeResult(MethodWorkResult result);
    bool workPending() const;

    // The rows of the numbers table: the shown methods in the table's order.
    std::vector<NumbersRow> numbersRows() const;
    // The exact function (when there is one), then each shown method that
    // took the nodes, at x = k/1000.
    std::vector<ValuesColumn> valuesColumns() const;

private:
    Refusal refuseForData(std::string_view what) const;
    Refusal polynomialProblem() const;
    static Refusal parameterProblem(StudyMethod method, int value);
    NodeList nodesOf(const LabSettings& settings) const;
    static NodeSource sourceOf(const LabSettings& settings);
    // New nodes for the settings: takeNodes starts a new history of Undo,
    // chooseNodes makes them one step of it.
    void takeNodes();
    void chooseNodes();
    Refusal stepNodes(std::optional<NodeSource> source, std::string_view verb,
                      bool (LabNodes::*step)());
    void followNodes();
    void keepOwnNodes();
    void countNodes();
    void sampleFunction();
    void recompute();
    void computeMethod(StudyMethod method);
    void computeCardinals();
    void computeBands();
    std::string bandProblem(StudyMethod method, int order);

    LabSettings settings_;
    PolynomialEntries polynomial_;
    std::shared_ptr<const Expression> expression_;
    std::vector<double> ownXs_;  // the user's own abscissae, kept across families
    NodeList data_;
    LabNodes nodes_;
    std::optional<NodeList> savedNodes_;
    std::shared_ptr<const Expression> savedExpression_;
    std::array<std::vector<double>, 3> exact_;
    std::array<MethodOutcome, kStudyMethods.size()> outcomes_;
    std::array<std::vector<double>, kStudyMethods.size()> cardinals_;
    std::array<ErrorBand, kStudyMethods.size()> bands_;
    // The function's largest Taylor coefficient by order, while it stays.
    std::map<int, DerivativeMaximum> taylorMaxima_;
    bool deferLongWork_ = false;
    std::array<std::uint64_t, kStudyMethods.size()> generations_{};
    std::array<std::optional<MethodWork>, kStudyMethods.size()> longWork_;
    // The Lebesgue constant depends on the abscissae (and the degree) only,
    // so a drag that moves a value alone does not compute it again.
    struct LebesgueKey {
        std::vector<double> xs;
        int parameter = 0;
        bool operator==(const LebesgueKey&) const = default;
    };
    std::array<std::optional<std::pair<LebesgueKey, std::optional<double>>>, kStudyMethods.size()>
        lebesgueCache_;
};

}  // namespace tarvel
