// Reading a study file (a lesson among them) from arbitrary bytes: a text
// is either refused with its reason or read into a study that, written
// out, reads back to the same text; the lab then takes it or says why.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "lab/study_file.h"

namespace tarvel {
namespace {

[[noreturn]] void violated(const char* property)
{
    std::fprintf(stderr, "PROPERTY VIOLATED: %s\n", property);
    __builtin_trap();
}

void check(std::string_view text)
{
    const StudyRead read = readStudyFile(text);
    if (!read.study) {
        if (!read.refusal.starts_with("The study file "))
            violated("a refused study says why");
        return;
    }
    const std::string written = studyFileText(*read.study);
    const StudyRead again = readStudyFile(written);
    if (!again.study)
        violated("a study written out reads back");
    if (studyFileText(*again.study) != written)
        violated("a study written out reads back the same");
    if (again.study->lesson != read.study->lesson)
        violated("a lesson's text comes back as it was");
    if (again.study->split != read.study->split || again.study->linkAxes != read.study->linkAxes ||
        again.study->panel2 != read.study->panel2)
        violated("the second panel's choices come back as they were");
    const StudyModel opened = modelOf(*read.study);
    if (opened.model.has_value() == !opened.refusal.empty())
        violated("the lab takes a study or says why not");
    if (opened.panel2.model().has_value() != (opened.model && read.study->split))
        violated("a split study opens with its second panel, and only a split one");
}

}  // namespace
}  // namespace tarvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tarvel::check(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
