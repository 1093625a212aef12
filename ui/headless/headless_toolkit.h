// A toolkit without a display: every control keeps its state in memory and
// records what the logic did to it, so tests can drive the main window's
// logic and read back the list, the drawing and the messages.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/form_tarvel.h"
#include "plot/drawing.h"
#include "ui/packed_lines.h"
#include "ui/toolkit.h"

namespace tarvel::ui {

class HeadlessTextBox : public TextBox {
public:
    explicit HeadlessTextBox(std::string text = {}) : text_(std::move(text)) {}
    std::string text() const override { return text_; }
    void setText(const std::string& text) override { text_ = text; }

private:
    std::string text_;
};

class HeadlessOptionButton : public OptionButton {
public:
    bool isSelected() const override { return selected; }
    bool selected = false;
};

class HeadlessFrame : public Frame {
public:
    void setVisible(bool isVisible) override { visible = isVisible; }
    bool visible = true;
};

class HeadlessListBox : public ListBox {
public:
    void clear() override { lines.clear(); }
    void addLine(std::string_view line) override { lines.append(line); }
    void showLastLine() override {}
    PackedLines lines;
};

class HeadlessStatusLine : public StatusLine {
public:
    void show(const std::string& sentence) override { sentences.push_back(sentence); }
    // The sentence shown now, empty before the first.
    std::string current() const { return sentences.empty() ? std::string() : sentences.back(); }
    std::vector<std::string> sentences;
};

class HeadlessDriveList : public DriveList {
public:
    std::string drive() const override { return current; }
    void selectDrive(const std::string& drive) override { current = drive; }
    std::vector<std::string> drives{"/"};
    std::string current{"/"};
};

class HeadlessDirectoryList : public DirectoryList {
public:
    std::string path() const override { return path_; }
    bool setPath(const std::string& path) override;
    std::function<void()> onChange;

private:
    std::string path_;
};

class HeadlessFileList : public FileList {
public:
    std::string path() const override { return path_; }
    void setPath(const std::string& path) override;
    std::string pattern() const override { return "*.dsf"; }
    std::string fileName() const override { return selected; }
    std::vector<std::string> names;  // the entries listed, in order
    std::string selected;

private:
    std::string path_;
};

class HeadlessMessageBox : public MessageBox {
public:
    void show(const std::string& text, const std::string& informative = {}) override
    {
        messages.push_back(text);
        informativeTexts.push_back(informative);
    }
    std::vector<std::string> messages;
    std::vector<std::string> informativeTexts;  // one for each message, empty: none
};

// Reads at once, on the calling thread, so a test sees the whole load
// within the click. With holdReads set, a read waits until the test
// completes or cancels it, as a slow file would in the real window.
class HeadlessFileReader : public FileReader {
public:
    void start(const std::string& what, std::function<void()> read,
               std::function<void(Outcome)> finish) override;
    bool busy() const override { return static_cast<bool>(finish_); }
    // Runs the held read now (it reads the file as it is at this moment)
    // and finishes it; false when none is held.
    bool completeHeldRead();
    // The user gives up waiting; false when no read is held.
    bool cancelHeldRead();
    bool holdReads = false;
    std::vector<std::string> started;  // `what` of every read started

private:
    std::function<void()> read_;
    std::function<void(Outcome)> finish_;
};

class HeadlessSecondWindow : public SecondWindow {
public:
    void show() override;
    void close() { open = false; }
    bool open = false;
    int created = 0;  // windows created so far
};

// The main window without a display: every control in its initial state
// and the logic wired to them as the real window wires it.
class HeadlessWindow {
public:
    // startDirectory: where the browser lists start (the working directory
    // when empty).
    explicit HeadlessWindow(const std::string& startDirectory = {},
                            const std::string& decimalSeparator = ".");
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    HeadlessTextBox& textBox(std::string_view name);
    HeadlessOptionButton& option(std::string_view name);
    HeadlessFrame& frame(std::string_view name);

    // The user's actions, as the real window turns them into handler calls.
    void setText(std::string_view box, const std::string& text);
    void select(std::string_view optionName);  // also runs its click handler
    void chooseDrive(const std::string& drive);
    void openDirectory(const std::string& path);
    void clickFile(const std::string& name);

    HeadlessTextBox Text_nU, Text_nPoly, Text_a0, Text_a1, Text_a2, Text_a3, Text_a4, Text_nI,
        Text_nDeg;
    HeadlessOptionButton Option_SinFunc, Option_Cos10Fu, Option_Polynom, Option_DataSet,
        Option_InterCubc, Option_InterPwCb, Option_Tarvel;
    HeadlessFrame Frame_Poly, Frame_DataSet, Frame_nDeg;
    HeadlessListBox List1;
    Drawing Picture1;
    HeadlessDriveList Drive1;
    HeadlessDirectoryList Dir1;
    HeadlessFileList File1;
    HeadlessMessageBox messages;
    HeadlessSecondWindow Form_About;
    HeadlessStatusLine statusLine;
    HeadlessFileReader fileReader;

    Form_Tarvel form;

private:
    Controls controls();
    void setInitialState();
    HeadlessFrame* frameOrNull(std::string_view name);
    void forEachOption(const std::function<void(std::string_view, HeadlessOptionButton&)>& visit);
};

}  // namespace tarvel::ui
