#include "app/form_tarvel.h"

#include <cmath>

#include "app/status_text.h"
#include "app/window_words.h"
#include "data/list_format.h"
#include "data/numeric_text.h"
#include "data/printable_text.h"

namespace tarvel {

const std::array<Form_Tarvel::NamedHandler, 7> Form_Tarvel::kOptionHandlers = {{
    {"Option_SinFunc", &Form_Tarvel::Option_SinFunc_Click},
    {"Option_Cos10Fu", &Form_Tarvel::Option_Cos10Fu_Click},
    {"Option_Polynom", &Form_Tarvel::Option_Polynom_Click},
    {"Option_DataSet", &Form_Tarvel::Option_DataSet_Click},
    {"Option_InterCubc", &Form_Tarvel::Option_InterCubc_Click},
    {"Option_InterPwCb", &Form_Tarvel::Option_InterPwCb_Click},
    {"Option_Tarvel", &Form_Tarvel::Option_Tarvel_Click},
}};

Form_Tarvel::Form_Tarvel(const ui::Controls& controls, std::string decimalSeparator)
    : c_(controls), decimalSeparator_(std::move(decimalSeparator)),
      acceptedDrive_(controls.Drive1.drive())
{
}

void Form_Tarvel::Form_Load()
{
    Pi = std::atan(1.0) * 4.0;
    TwoPi = Pi * 2;
    dataReady = false;
}

TestSource Form_Tarvel::selectedSource() const
{
    if (c_.Option_SinFunc.isSelected())
        return TestSource::Sine;
    if (c_.Option_Cos10Fu.isSelected())
        return TestSource::Cos10;
    if (c_.Option_Polynom.isSelected())
        return TestSource::Polynomial;
    if (c_.Option_DataSet.isSelected())
        return TestSource::DataSet;
    return TestSource::None;
}

void Form_Tarvel::showMessage(const std::string& text, const std::string& informative)
{
    c_.messageBox.show(text, informative);
}

bool Form_Tarvel::passes(const std::optional<std::string>& problem)
{
    if (problem)
        showMessage(*problem);
    return !problem;
}

bool Form_Tarvel::passes(const Refused& refusal)
{
    return passes(refusal ? std::optional(inputRefusalText(*refusal, decimalSeparator_))
                          : std::nullopt);
}

std::optional<double> Form_Tarvel::readNumber(const ui::TextBox& box, Entry entry,
                                              std::size_t coefficient)
{
    const std::string text = box.text();
    const double value = numericValue(text);
    const EntryWords words = entryWords(entry, coefficient);
    if (std::isfinite(value)) {
        const std::string note = readingNote(words.label, text, value, decimalSeparator_);
        if (!note.empty())
            readingNotes_.push_back(note);
        return value;
    }
    showMessage(
        "The " + words.what +
        " is too large to be held as a number; numbers must lie between -1.7E+308 and 1.7E+308.");
    return std::nullopt;
}

void Form_Tarvel::Mn_About_Click()
{
    c_.Form_About.show();
}

void Form_Tarvel::Option_SinFunc_Click()
{
    c_.Frame_Poly.setVisible(false);
    c_.Frame_DataSet.setVisible(false);
}

void Form_Tarvel::Option_Cos10Fu_Click()
{
    c_.Frame_Poly.setVisible(false);
    c_.Frame_DataSet.setVisible(false);
}

void Form_Tarvel::Option_Polynom_Click()
{
    c_.Frame_Poly.setVisible(true);
    c_.Frame_DataSet.setVisible(false);
}

void Form_Tarvel::Option_DataSet_Click()
{
    c_.Frame_Poly.setVisible(false);
    c_.Frame_DataSet.setVisible(true);
}

void Form_Tarvel::Option_Tarvel_Click()
{
    c_.Frame_nDeg.setVisible(true);
}

void Form_Tarvel::Option_InterCubc_Click()
{
    c_.Frame_nDeg.setVisible(false);
}

void Form_Tarvel::Option_InterPwCb_Click()
{
    c_.Frame_nDeg.setVisible(false);
}

void Form_Tarvel::Dir1_Change()
{
    c_.File1.setPath(c_.Dir1.path());
}

void Form_Tarvel::Dir1_Unreadable(const std::string& path)
{
    showMessage("The directory " + isolatedText(path) + " cannot be read.");
}

void Form_Tarvel::Drive1_Change()
{
    const std::string drive = c_.Drive1.drive();
    if (!c_.Dir1.setPath(drive)) {
        c_.Drive1.selectDrive(acceptedDrive_);
        showMessage("The drive " + isolatedText(drive) + " cannot be read; the browser stays in " +
                    isolatedText(c_.Dir1.path()) + ".");
        return;
    }
    acceptedDrive_ = drive;
}

}  // namespace tarvel
