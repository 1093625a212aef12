#include "ui/headless/headless_toolkit.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "ui/control_table.h"
#include "ui/file_system.h"

namespace tarvel::ui {

bool HeadlessDirectoryList::setPath(const std::string& path)
{
    if (!isReadableDirectory(path))
        return false;
    path_ = path;
    if (onChange)
        onChange();
    return true;
}

void HeadlessFileList::setPath(const std::string& path)
{
    const bool again = path == path_;
    path_ = path;
    names = matchingFiles(path, pattern());
    if (!again || std::find(names.begin(), names.end(), selected) == names.end())
        selected.clear();
}

void HeadlessFileList::markReading(const std::string& fullName)
{
    reading = fullName;
    for (const std::string& name : names)
        if (!fullName.empty() && joinPath(path_, name) == fullName)
            selected = name;
}

void HeadlessFileReader::start(const std::string& what,
                               std::function<void(const std::atomic<bool>&)> read,
                               std::function<void(Outcome)> finish)
{
    started.push_back(what);
    if (holdReads) {
        read_ = std::move(read);
        finish_ = std::move(finish);
        return;
    }
    const std::atomic<bool> notCancelled(false);
    read(notCancelled);
    finish(Outcome::Done);
}

bool HeadlessFileReader::completeHeldRead()
{
    if (!finish_)
        return false;
    const auto read = std::exchange(read_, {});
    const auto finish = std::exchange(finish_, {});
    const std::atomic<bool> notCancelled(false);
    read(notCancelled);
    finish(Outcome::Done);
    return true;
}

bool HeadlessFileReader::cancelHeldRead()
{
    if (!finish_)
        return false;
    read_ = {};
    std::exchange(finish_, {})(Outcome::Cancelled);
    return true;
}

void HeadlessSecondWindow::show()
{
    if (!open)
        ++created;
    open = true;
}

HeadlessWindow::HeadlessWindow(const std::string& startDirectory,
                               const std::string& decimalSeparator)
    : form(controls(), decimalSeparator)
{
    setInitialState();
    const std::string start = startDirectory.empty() ? currentDirectory() : startDirectory;
    // The lists start in the start directory before any handler runs.
    Dir1.setPath(start);
    File1.setPath(start);
    Dir1.onChange = [this] { form.Dir1_Change(); };
    form.Form_Load();
}

void HeadlessWindow::setInitialState()
{
    for (const ControlSpec& spec : mainWindowControls()) {
        if (spec.kind == Kind::TextBox)
            textBox(spec.name).setText(std::string(spec.text));
        else if (spec.kind == Kind::OptionButton)
            option(spec.name).selected = spec.selected;
        else if (spec.kind == Kind::Frame && frameOrNull(spec.name))
            frameOrNull(spec.name)->visible = !spec.hidden;
    }
}

Controls HeadlessWindow::controls()
{
    return Controls{Text_nU,
                    Text_nPoly,
                    Text_a0,
                    Text_a1,
                    Text_a2,
                    Text_a3,
                    Text_a4,
                    Text_nI,
                    Text_nDeg,
                    Option_SinFunc,
                    Option_Cos10Fu,
                    Option_Polynom,
                    Option_DataSet,
                    Option_InterCubc,
                    Option_InterPwCb,
                    Option_Tarvel,
                    Frame_Poly,
                    Frame_DataSet,
                    Frame_nDeg,
                    List1,
                    Picture1,
                    Drive1,
                    Dir1,
                    File1,
                    messages,
                    Form_About,
                    statusLine,
                    fileReader};
}

HeadlessTextBox& HeadlessWindow::textBox(std::string_view name)
{
    HeadlessTextBox* boxes[] = {&Text_nU, &Text_nPoly, &Text_a0, &Text_a1,  &Text_a2,
                                &Text_a3, &Text_a4,    &Text_nI, &Text_nDeg};
    const char* names[] = {"Text_nU", "Text_nPoly", "Text_a0", "Text_a1",  "Text_a2",
                           "Text_a3", "Text_a4",    "Text_nI", "Text_nDeg"};
    for (std::size_t k = 0; k < std::size(names); ++k)
        if (name == names[k])
            return *boxes[k];
    throw std::invalid_argument("no text box " + std::string(name));
}

void HeadlessWindow::forEachOption(
    const std::function<void(std::string_view, HeadlessOptionButton&)>& visit)
{
    visit("Option_SinFunc", Option_SinFunc);
    visit("Option_Cos10Fu", Option_Cos10Fu);
    visit("Option_Polynom", Option_Polynom);
    visit("Option_DataSet", Option_DataSet);
    visit("Option_InterCubc", Option_InterCubc);
    visit("Option_InterPwCb", Option_InterPwCb);
    visit("Option_Tarvel", Option_Tarvel);
}

HeadlessOptionButton& HeadlessWindow::option(std::string_view name)
{
    HeadlessOptionButton* found = nullptr;
    forEachOption([&](std::string_view optionName, HeadlessOptionButton& button) {
        if (optionName == name)
            found = &button;
    });
    if (!found)
        throw std::invalid_argument("no option button " + std::string(name));
    return *found;
}

HeadlessFrame* HeadlessWindow::frameOrNull(std::string_view name)
{
    if (name == "Frame_Poly")
        return &Frame_Poly;
    if (name == "Frame_DataSet")
        return &Frame_DataSet;
    if (name == "Frame_nDeg")
        return &Frame_nDeg;
    return nullptr;
}

HeadlessFrame& HeadlessWindow::frame(std::string_view name)
{
    if (HeadlessFrame* found = frameOrNull(name))
        return *found;
    throw std::invalid_argument("no frame " + std::string(name));
}

void HeadlessWindow::setText(std::string_view box, const std::string& text)
{
    textBox(box).setText(text);
}

void HeadlessWindow::select(std::string_view optionName)
{
    const ControlSpec* spec = findControl(optionName);
    if (!spec || spec->kind != Kind::OptionButton)
        throw std::invalid_argument("no option button " + std::string(optionName));
    // Option buttons exclude each other within their frame.
    forEachOption([&](std::string_view name, HeadlessOptionButton& button) {
        if (findControl(name)->parent == spec->parent)
            button.selected = name == optionName;
    });
    for (const auto& [name, handler] : Form_Tarvel::kOptionHandlers)
        if (name == optionName)
            (form.*handler)();
}

void HeadlessWindow::chooseDrive(const std::string& drive)
{
    Drive1.current = drive;
    form.Drive1_Change();
}

void HeadlessWindow::openDirectory(const std::string& path)
{
    if (!Dir1.setPath(path))
        form.Dir1_Unreadable(path);
}

void HeadlessWindow::clickFile(const std::string& name)
{
    File1.selected = name;
    form.File1_Click();
}

}  // namespace tarvel::ui
