#include "lab/method_refusal.h"

#include <string_view>

#include "data/list_format.h"
#include "lab/lab_text.h"

namespace tarvel {
namespace {

std::string plain(double value)
{
    return formatPlain(value, ".");
}

std::string nodeText(std::size_t value)
{
    return formatIndex(static_cast<double>(value));
}

std::string parameterText(const StudyMethodRow& row, const MethodRefusal& refusal)
{
    const MethodParameter& parameter = *row.parameter;
    return joined({" through ", nodeText(refusal.nodes[0]), " nodes takes ",
                   parameter.oddOnly ? "an odd " : "a ", parameter.name, " from ",
                   formatIndex(parameter.low), " to ", formatIndex(refusal.highest), "; it is ",
                   formatIndex(refusal.numbers[0]), "."});
}

// What follows the method's subject.
std::string predicate(const StudyMethodRow& row, const MethodRefusal& r)
{
    const auto [i, j] = r.nodes;
    const auto [a, b] = r.numbers;
    switch (r.kind) {
    case RefusalKind::ValueCount:
        return joined({" needs one value at each node; there are ", nodeText(i), " nodes and ",
                       nodeText(j), " values."});
    case RefusalKind::NodeCount:
        return joined({" takes from ", formatIndex(row.minNodes), " to ",
                       formatIndex(row.maxNodes), " nodes; there are ", nodeText(i), "."});
    case RefusalKind::NotFinite:
        return joined({" needs finite nodes and values; node ", nodeText(i), " has x = ", plain(a),
                       " and y = ", plain(b), "."});
    case RefusalKind::SharedAbscissa:
        return joined({" needs distinct abscissae; nodes ", nodeText(i), " and ", nodeText(j),
                       " both have x = ", plain(a), "."});
    case RefusalKind::Unordered:
        return joined({" needs the nodes in increasing order of x; node ", nodeText(j), " (x = ",
                       plain(b), ") comes after node ", nodeText(i), " (x = ", plain(a), ")."});
    case RefusalKind::TooClose:
        return joined({" needs the nodes further apart; nodes ", nodeText(i), " and ", nodeText(j),
                       " are too close for the cube of their distance to be held."});
    case RefusalKind::TooWide:
        return " needs the nodes closer together: the distance from the first to the last "
               "exceeds the range of numbers.";
    case RefusalKind::NotPeriodic:
        return joined({" needs periodic data: the last value, ", plain(b),
                       ", differs from the first, ", plain(a), "."});
    case RefusalKind::NotEvenlySpaced:
        return joined({" needs evenly spaced nodes; node ", nodeText(i), " has x = ", plain(a),
                       " where evenly spaced nodes have ", plain(b), "."});
    case RefusalKind::Parameter:
        return parameterText(row, r);
    case RefusalKind::EndSlopes:
        return joined({" needs finite end slopes; they are ", plain(a), " and ", plain(b), "."});
    case RefusalKind::Unweighable:
        return " cannot weigh these nodes: their spacings differ too widely.";
    case RefusalKind::Overflow:
        break;
    }
    return " grows too large between these nodes: a coefficient overflows the range of "
           "numbers. Spread the nodes further apart or scale the values down.";
}

}  // namespace

std::string refusalText(StudyMethod method, const MethodRefusal& refusal)
{
    const StudyMethodRow& row = methodRow(method);
    return row.subject + predicate(row, refusal);
}

}  // namespace tarvel
