// A study record built from the form's own variables, as the commands hand
// it to the picture: tests of the study aids set it themselves so that they
// check the aids and not the commands.
#pragma once

#include <string>

#include "app/form_tarvel.h"
#include "ui/study.h"

namespace tarvel::support {

// The legend's name of a method named as in the status sentence: "the
// natural cubic spline" is "Natural cubic spline".
inline std::string legendOf(std::string name)
{
    if (name.rfind("the ", 0) == 0)
        name.erase(0, 4);
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z')
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
}

// exact: the test function, or nullptr for a data set.
inline ui::Study studyOf(const Form_Tarvel& form, double (Form_Tarvel::*exact)(double) const,
                         const std::string& functionName, const std::string& methodName,
                         bool withInterpolated = true)
{
    ui::Study study;
    for (int i = 0; i <= loopBound(form.lastU); ++i) {
        ui::StudyPoint point{i, form.xU[static_cast<std::size_t>(i)],
                             form.yU[static_cast<std::size_t>(i)], std::nullopt};
        if (exact)
            point.exact = (form.*exact)(point.x);
        study.given.push_back(point);
    }
    if (withInterpolated)
        for (int i = 0; i <= loopBound(form.lastI); ++i) {
            ui::StudyPoint point{i, form.xI[static_cast<std::size_t>(i)],
                                 form.yI[static_cast<std::size_t>(i)], std::nullopt};
            if (exact)
                point.exact = (form.*exact)(point.x);
            study.interpolated.push_back(point);
        }
    study.functionName = exact ? functionName : std::string();
    study.dataSetName = exact ? std::string() : functionName;
    study.curveName = study.functionName;
    study.source = functionName;
    study.methodName = withInterpolated ? methodName : std::string();
    study.methodLegend = withInterpolated ? legendOf(methodName) : std::string();
    return study;
}

inline ui::Study sineStudy(const Form_Tarvel& form, bool withInterpolated = true,
                           const std::string& method = "polynomial interpolation of degree 1")
{
    return studyOf(form, &Form_Tarvel::SinFunc, "sin(2\xCF\x80x)", method, withInterpolated);
}

}  // namespace tarvel::support
