// What the lab's plot shows for the current view, in world coordinates and
// without any toolkit: the curves with their legend texts and colours, the
// nodes, the axes' kind, and the world rectangle that fits
// them. The window only maps and paints it.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lab/convergence.h"
#include "lab/lab_model.h"
#include "lab/observed_rate.h"
#include "plot/drawing.h"

namespace tarvel {

// How a line is drawn: the reference slopes each in a pattern of their own.
enum class LineDash { Solid, Dashed, DashDotted };
// Wide rings stay visible around rings or dots at the same point.
enum class PointMarks { None, Rings, Dots, WideRings };

struct LabSeries {
    std::string label;
    ui::Colour colour = 0;
    bool dashed = false;  // a reference line, which does not set the scale
    bool markers = false;  // points drawn as dots (the convergence view)
    std::vector<double> x;
    std::vector<double> y;  // NaN breaks the line
    LineDash dash = LineDash::Solid;
    std::string endLabel{};  // written at the line's visible end; empty: none
    // Points drawn apart, not joined (the poles view).
    PointMarks apart = PointMarks::None;
};

struct LabPicture {
    std::vector<LabSeries> series;
    NodeList nodes;  // empty in the views that do not show them
    std::string nodesLabel;
    WorldRect world;
    bool logX = false;  // the axes show log10 of the values
    bool logY = false;
    std::optional<double> markX;  // the current n in the convergence view
    std::optional<std::size_t> pickedNode;  // the cardinal view's node, ringed
    // Why the view has nothing to show, for the plot and the status line.
    std::string emptyReason;
    // What the view says beside the legend about what it shows.
    std::string note;
    // What the picture shows, in words, and its axes' captions.
    std::string title;
    std::string xCaption;
    std::string yCaption;
};

// Where the log error view puts a point whose error is 0.
inline constexpr double kLogErrorFloor = -17;

ui::Colour methodColour(StudyMethod method);
inline constexpr ui::Colour kFunctionColour = 255;       // red, as in the main window
inline constexpr ui::Colour kEditedNodesColour = 0x0080FF;  // orange
inline constexpr ui::Colour kReferenceColour = 0x808080;

LabPicture labPicture(const LabModel& model, const ConvergenceTable& convergence);

// The observed order or rate of a method in the convergence view, once all
// its points are in; nothing in the other views.
std::optional<ObservedRate> observedRateOf(const LabModel& model,
                                           const ConvergenceTable& convergence,
                                           StudyMethod method);

// The model's numbers rows with the figures of its view: in the poles view
// AAA's support points and nearest pole, in the node polynomial's view the
// largest |ω|.
std::vector<NumbersRow> numbersWithViewFigures(const LabModel& model);

// Those rows with the observed orders of the convergence view.
std::vector<NumbersRow> numbersWithOrders(const LabModel& model,
                                          const ConvergenceTable& convergence);

// The poles view's figures of the AAA approximant: its support points and
// its pole nearest the nodes ("AAA: 3 support points; nearest pole
// 0.5 ± 0.1i, 0.1 from the nodes"); empty when it is not shown.
std::string polesFigures(const LabModel& model);

// The picture's default title: the function and its nodes ("Runge 1/(1 +
// 25(2x − 1)²), 11 evenly spaced nodes"), in the convergence view the
// function and the node family.
std::string labTitle(const LabModel& model);

// "largest error 0.25 at x = 0.5", and where it lies outside the nodes
// "largest error 1.6e10 at x = 0, outside the nodes; inside them 0.003 at
// x = 0.5".
std::string largestErrorText(const ErrorFigures& figures);

// The plot's description for a screen reader: the view, the function and
// nodes, and each shown method's largest error or why it is unavailable.
std::string pictureDescription(const LabModel& model);

}  // namespace tarvel
