// A study file (*.tarvel): everything the lab shows, as a small versioned
// JSON text. Numbers are written in their shortest form that reads back
// the same double, so a study comes back bit for bit. Version 1:
//   {
//     "format": "tarvel-study", "version": 1,
//     "function": "expression",          a key of the lab's functions
//     "expression": "exp(x) sin(10x)",   the typed function, as typed
//     "polynomial": {"degree": 4, "coefficients": [1, 1, 1, 1, 1]},
//     "family": "equispaced", "ownNodes": false, "count": 11, "degree": 1,
//     "methods": ["natural", "global"], "view": "values",
//     "noise": 1e-6, "noiseSeed": 1,      noise on the values, its seed
//     "nodes": [[0, 1], [0.1, 0.8], ...],   as shown: edited, or the user's own
//     "data": [[0, 1], ...],                the given points of "data"
//     "zoom": {"left": 0, "right": 1, "bottom": -1, "top": 1},   or null
//     "split": true, "linkAxes": true,      the second panel shown, the axes joined
//     "panel2": {"function": "runge", "family": null, "view": null},
//                                           the second panel's own choices; null
//                                           follows the first panel
//     "title": "...",                       the picture's title, if any
//     "lesson": {"title": "...", "look": "...", "question": "...", "answer": "..."}
//   }
// A study that is a lesson carries its text; others have no "lesson". A
// study without "split", "linkAxes" or "panel2" shows one panel, with the
// axes linked and the second panel's defaults for when it is split.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lab/lab_model.h"
#include "lab/second_panel.h"
#include "plot/drawing.h"

namespace tarvel {

inline constexpr int kStudyFileVersion = 1;

// The text a lesson shows beside the lab: its title, what to look at, one
// question and its answer, which the student opens when ready.
struct Lesson {
    std::string title;
    std::string look;
    std::string question;
    std::string answer;
    bool operator==(const Lesson&) const = default;
};

struct Study {
    LabStart start;  // the settings, the typed function, the own abscissae, the data
    NodeList nodes;  // the nodes as shown
    std::optional<WorldRect> zoom;
    std::string title;
    std::optional<Lesson> lesson;
    bool split = false;     // the second panel shown beside the first
    bool linkAxes = true;   // both panels on one world
    PanelChoice panel2;     // what the second panel shows of its own
};

// What the model shows, as a study.
Study studyOf(const LabModel& model);

std::string studyFileText(const Study& study);

// The study, or why the text is none: damaged, from a newer version, or
// holding a value out of range.
struct StudyRead {
    std::optional<Study> study;
    std::string refusal;
};

StudyRead readStudyFile(std::string_view text);

// The lab the study describes, built apart, so that a refusal leaves the
// lab shown as it was: refused when the lab cannot take its settings as
// they are, its nodes or its second panel's choices.
struct StudyModel {
    std::optional<LabModel> model;
    SecondPanel panel2;  // computed for the model when the study is split
    std::string refusal;
};

// deferLongWork as LabModel takes it: the window leaves slow methods to
// its workers.
StudyModel modelOf(const Study& study, bool deferLongWork = false);

}  // namespace tarvel
