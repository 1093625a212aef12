// The operations of the windowing toolkit that the main window's logic uses.
// Two implementations exist: the Qt widgets of the real window (ui/qt) and a
// headless one that records what is done to it (ui/headless), so the logic
// can be driven and checked without a display. Texts are UTF-8, except the
// paths and names of the browser lists: those are the file system's own
// bytes (on Windows, UTF-8), so every listed name can be opened.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/study.h"

namespace tarvel::ui {

// 24-bit colour, red in the lowest byte, blue in the highest.
using Colour = std::uint32_t;
inline constexpr Colour kRed = 255;
inline constexpr Colour kBlue = 16711680;

class TextBox {
public:
    virtual ~TextBox() = default;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

class OptionButton {
public:
    virtual ~OptionButton() = default;
    virtual bool isSelected() const = 0;
};

class Frame {
public:
    virtual ~Frame() = default;
    virtual void setVisible(bool visible) = 0;
};

class ListBox {
public:
    virtual ~ListBox() = default;
    virtual void clear() = 0;
    virtual void addLine(std::string_view line) = 0;
    // The command has appended all its lines: bring the newest into view.
    // Called once per command, so appending costs the same at any length.
    virtual void showLastLine() = 0;
};

// One plain sentence under the window saying what the last command did.
class StatusLine {
public:
    virtual ~StatusLine() = default;
    virtual void show(const std::string& sentence) = 0;
};

// The picture area. Coordinates, radii and the corners of the world system
// arrive as double-precision world values, so values beyond the range of
// single precision are still drawn where the scale puts them.
class PictureBox {
public:
    virtual ~PictureBox() = default;
    // (x1, y1) is the upper left corner, (x2, y2) the lower right one;
    // with y1 > y2 the y axis grows upwards.
    virtual void setWorld(double x1, double y1, double x2, double y2) = 0;
    virtual void clear() = 0;
    // No colour: the picture's foreground colour. The end point becomes the
    // current drawing position.
    virtual void line(double x1, double y1, double x2, double y2, std::optional<Colour> colour) = 0;
    virtual void lineTo(double x, double y, Colour colour) = 0;
    virtual void setPoint(double x, double y, std::optional<Colour> colour) = 0;
    // Radius in world units of the x axis.
    virtual void circle(double x, double y, double radius, Colour colour) = 0;
    // What the last command drew, for the study aids painted over the
    // drawing (readout, scale, legend, error view, copies). Never changes
    // the drawing operations themselves.
    virtual void setStudy(Study study) = 0;
};

class DriveList {
public:
    virtual ~DriveList() = default;
    virtual std::string drive() const = 0;
    // Selects a drive without running the change handler (used to step back
    // from a drive that cannot be read).
    virtual void selectDrive(const std::string& drive) = 0;
};

class DirectoryList {
public:
    virtual ~DirectoryList() = default;
    virtual std::string path() const = 0;
    // Shows the directory and runs the change handler. Returns false, and
    // changes nothing, when the directory cannot be read.
    virtual bool setPath(const std::string& path) = 0;
};

class FileList {
public:
    virtual ~FileList() = default;
    virtual std::string path() const = 0;
    // Lists the entries of the directory that match the pattern.
    virtual void setPath(const std::string& path) = 0;
    virtual std::string pattern() const = 0;
    // The selected file name, empty when none is selected.
    virtual std::string fileName() const = 0;
};

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Modal: returns once the user has closed the box. The informative
    // text, when there is one, says more under the text (why it happened).
    virtual void show(const std::string& text, const std::string& informative = {}) = 0;
};

class SecondWindow {
public:
    virtual ~SecondWindow() = default;
    // Shows the window without making it modal; a window already open is
    // brought forward instead of opening a second one.
    virtual void show() = 0;
};

// Reading a file can block for as long as its file system does (a stalled
// network mount, a pipe nobody writes to), so it runs away from the
// user-interface thread. One read at a time.
class FileReader {
public:
    enum class Outcome { Done, Cancelled };
    virtual ~FileReader() = default;
    // Runs `read` on another thread; it must touch no control and no state
    // of the window. Then runs `finish` on the user-interface thread: with
    // Done once `read` has returned, or with Cancelled when the user gave up
    // waiting (what `read` produces later is then never looked at). A slow
    // read shows its progress with a way to cancel, naming `what`. `finish`
    // may run before start() returns.
    virtual void start(const std::string& what, std::function<void()> read,
                       std::function<void(Outcome)> finish) = 0;
    // A read was started and has not finished yet.
    virtual bool busy() const = 0;
};

// Every control the main window's logic reaches, by its name.
struct Controls {
    TextBox& Text_nU;
    TextBox& Text_nPoly;
    TextBox& Text_a0;
    TextBox& Text_a1;
    TextBox& Text_a2;
    TextBox& Text_a3;
    TextBox& Text_a4;
    TextBox& Text_nI;
    TextBox& Text_nDeg;
    OptionButton& Option_SinFunc;
    OptionButton& Option_Cos10Fu;
    OptionButton& Option_Polynom;
    OptionButton& Option_DataSet;
    OptionButton& Option_InterCubc;
    OptionButton& Option_InterPwCb;
    OptionButton& Option_Tarvel;
    Frame& Frame_Poly;
    Frame& Frame_DataSet;
    Frame& Frame_nDeg;
    ListBox& List1;
    PictureBox& Picture1;
    DriveList& Drive1;
    DirectoryList& Dir1;
    FileList& File1;
    MessageBox& messageBox;
    SecondWindow& Form_About;
    StatusLine& statusLine;
    FileReader& fileReader;
};

}  // namespace tarvel::ui
