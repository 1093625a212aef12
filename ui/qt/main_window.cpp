#include "ui/qt/main_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>

#include "data/capacities.h"
#include "ui/control_table.h"
#include "ui/qt/about_window.h"
#include "ui/qt/browser_lists.h"
#include "ui/qt/file_reader.h"
#include "ui/qt/lab_launch.h"
#include "ui/qt/line_list.h"
#include "ui/qt/list_copy.h"
#include "ui/qt/picture_widget.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/status_sentence.h"
#include "ui/qt/twips.h"

namespace tarvel::ui {
namespace {

QWidget* createWidget(const ControlSpec& spec, QWidget* parent)
{
    const QString text = qstr(spec.text);
    switch (spec.kind) {
    case Kind::Frame:
        return new QGroupBox(text, parent);
    case Kind::Label:
        return new QLabel(text, parent);
    case Kind::TextBox:
        return new QLineEdit(text, parent);
    case Kind::CommandButton:
        return new QPushButton(text, parent);
    case Kind::OptionButton: {
        auto* button = new QRadioButton(text, parent);
        button->setChecked(spec.selected);
        return button;
    }
    case Kind::ListBox: {
        auto* list = new LineList(parent);
        list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        return list;
    }
    case Kind::PictureBox:
        return new PictureWidget(parent);
    case Kind::DriveList:
        return new DriveCombo(parent);
    case Kind::DirectoryList:
        return new DirListWidget(parent);
    case Kind::FileList:
        return new FileListWidget(parent);
    }
    return nullptr;
}

// Pixels a caption needs beyond its text: the indicator of an option
// button, the bevel of a command button.
int captionExtra(const QWidget* widget, Kind kind)
{
    const QStyle* style = widget->style();
    switch (kind) {
    case Kind::OptionButton:
        return style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) + 4;
    case Kind::CommandButton:
        return 2 * style->pixelMetric(QStyle::PM_ButtonMargin) + 8;
    default:
        return 4;
    }
}

// What a line edit keeps on either side of its text and for the cursor
// beyond its frame and text margins.
constexpr int kLineEditInnerMargins = 2 * 2 + 2;

// Room for a title bar and borders when the window is fitted to the screen.
const QSize kWindowDecoration(8, 40);

}  // namespace

MainWindow::MainWindow(const QString& startDirectory, QWidget* parent) : QMainWindow(parent)
{
    setObjectName("Form_Tarvel");
    setWindowTitle(qstr(kMainTitle));
    createControls();
    scale_ = chooseScale();
    placeControls();
    createAdapters();
    fileReader_ = std::make_unique<QtFileReader>(this);
    const QString decimalPoint = QLocale().decimalPoint();
    form_ = std::make_unique<Form_Tarvel>(controls(), decimalPoint.toStdString());
    startBrowser(startDirectory);
    connectHandlers();
    addStudyAids();
    addLessonsMenu(*this, *studyMenu_);
    addLabAction(*this, *studyMenu_);
    addQuitAction();
    form_->Form_Load();
}

MainWindow::~MainWindow()
{
    // Closing the window takes the focus from the picture, which then tells
    // a status bar that is no longer there; the focus moving between
    // controls as they go would scroll a client area that is going.
    picture_->disconnect(this);
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

template <typename T> T* MainWindow::control(const char* name) const
{
    return qobject_cast<T*>(widgets_.value(QString::fromLatin1(name)));
}

// A control the logic cannot do without: a missing name or a widget of
// another kind is a defect of the control table, not a state to run in.
template <typename T> T* MainWindow::required(const char* name) const
{
    T* widget = control<T>(name);
    if (!widget)
        qFatal("the window has no control %s of the kind the logic needs", name);
    return widget;
}

// The logic's view of the controls, each adapter made from the widget of its
// own name, so that no order of a list decides which widget it reaches.
struct MainWindow::Adapters {
    explicit Adapters(const MainWindow& w)
        : Text_nU(w.required<QLineEdit>("Text_nU")),
          Text_nPoly(w.required<QLineEdit>("Text_nPoly")),
          Text_a0(w.required<QLineEdit>("Text_a0")), Text_a1(w.required<QLineEdit>("Text_a1")),
          Text_a2(w.required<QLineEdit>("Text_a2")), Text_a3(w.required<QLineEdit>("Text_a3")),
          Text_a4(w.required<QLineEdit>("Text_a4")), Text_nI(w.required<QLineEdit>("Text_nI")),
          Text_nDeg(w.required<QLineEdit>("Text_nDeg")),
          Option_SinFunc(w.required<QRadioButton>("Option_SinFunc")),
          Option_Cos10Fu(w.required<QRadioButton>("Option_Cos10Fu")),
          Option_Polynom(w.required<QRadioButton>("Option_Polynom")),
          Option_DataSet(w.required<QRadioButton>("Option_DataSet")),
          Option_InterCubc(w.required<QRadioButton>("Option_InterCubc")),
          Option_InterPwCb(w.required<QRadioButton>("Option_InterPwCb")),
          Option_Tarvel(w.required<QRadioButton>("Option_Tarvel")),
          Frame_Poly(w.required<QWidget>("Frame_Poly")),
          Frame_DataSet(w.required<QWidget>("Frame_DataSet")),
          Frame_nDeg(w.required<QWidget>("Frame_nDeg")), List1(w.required<LineList>("List1"))
    {
    }
    QtTextBox Text_nU, Text_nPoly, Text_a0, Text_a1, Text_a2, Text_a3, Text_a4, Text_nI, Text_nDeg;
    QtOptionButton Option_SinFunc, Option_Cos10Fu, Option_Polynom, Option_DataSet, Option_InterCubc,
        Option_InterPwCb, Option_Tarvel;
    QtFrame Frame_Poly, Frame_DataSet, Frame_nDeg;
    QtListBox List1;
};

// Every member named as the logic names it; the compiler refuses a member
// left out or given out of order.
Controls MainWindow::controls()
{
    Adapters& a = *adapters_;
    return Controls{.Text_nU = a.Text_nU,
                    .Text_nPoly = a.Text_nPoly,
                    .Text_a0 = a.Text_a0,
                    .Text_a1 = a.Text_a1,
                    .Text_a2 = a.Text_a2,
                    .Text_a3 = a.Text_a3,
                    .Text_a4 = a.Text_a4,
                    .Text_nI = a.Text_nI,
                    .Text_nDeg = a.Text_nDeg,
                    .Option_SinFunc = a.Option_SinFunc,
                    .Option_Cos10Fu = a.Option_Cos10Fu,
                    .Option_Polynom = a.Option_Polynom,
                    .Option_DataSet = a.Option_DataSet,
                    .Option_InterCubc = a.Option_InterCubc,
                    .Option_InterPwCb = a.Option_InterPwCb,
                    .Option_Tarvel = a.Option_Tarvel,
                    .Frame_Poly = a.Frame_Poly,
                    .Frame_DataSet = a.Frame_DataSet,
                    .Frame_nDeg = a.Frame_nDeg,
                    .List1 = a.List1,
                    .Picture1 = picture_->drawing(),
                    .Drive1 = *drive_,
                    .Dir1 = *dir_,
                    .File1 = *files_,
                    .messageBox = *messageBox_,
                    .Form_About = *about_,
                    .statusLine = *statusLine_,
                    .fileReader = *fileReader_};
}

void MainWindow::createControls()
{
    // On a small screen the window may be smaller than the controls' design
    // size: the client area keeps that size and scrolls.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("clientScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    // No Tab stop of its own, nameless to a screen reader: it still scrolls
    // to the control that takes the focus.
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* central = new QWidget;
    central->setObjectName("client");
    scroll->setWidget(central);
    setCentralWidget(scroll);
    client_ = central;
    scroll_ = scroll;
    central->installEventFilter(this);
    scroll->viewport()->installEventFilter(this);
    for (const QScrollBar* bar : {scroll->horizontalScrollBar(), scroll->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this] { keepPictureInSight(); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { revealAbovePicture(now); });
    aboutAction_ = menuBar()->addAction("About");
    aboutAction_->setObjectName("Mn_About");
    aboutAction_->setMenuRole(QAction::NoRole);  // stays in the menu bar on macOS too
    connect(aboutAction_, &QAction::triggered, this, [this] { form_->Mn_About_Click(); });

    // The table lists containers before their contents; Frame_DataSet comes
    // after the frames it must not hide and Picture1 last, so the browser is
    // raised above the picture below.
    for (const ControlSpec& spec : mainWindowControls()) {
        QWidget* parent = spec.parent.empty() ? central : widgets_.value(qstr(spec.parent));
        QWidget* widget = createWidget(spec, parent);
        widget->setObjectName(qstr(spec.name));
        widget->setVisible(!spec.hidden);
        widgets_.insert(widget->objectName(), widget);
    }
    widgets_.value("Frame_DataSet")->raise();
    picture_ = required<PictureWidget>("Picture1");
    createStudyMenu();
    drive_ = required<DriveCombo>("Drive1");
    dir_ = required<DirListWidget>("Dir1");
    files_ = required<FileListWidget>("File1");

    QWidget* previous = nullptr;
    for (const ControlSpec* spec : readingOrder()) {
        QWidget* widget = widgets_.value(qstr(spec->name));
        if (widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
}

void MainWindow::createStudyMenu()
{
    studyMenu_ = new QMenu(tr("Study"), this);
    studyMenu_->setObjectName("Mn_Study");
    studyMenu_->addAction(picture_->savePictureAction());
    studyMenu_->addAction(picture_->saveValuesAction());
    studyMenu_->addAction(picture_->saveGivenPointsAction());
    studyMenu_->addAction(picture_->exportPictureAction());
    studyMenu_->addAction(picture_->printPictureAction());
    studyMenu_->addSeparator();
    studyMenu_->addAction(picture_->showErrorAction());
    studyMenu_->addAction(picture_->showLogErrorAction());
    // The save actions follow the picture's study; a menu opened from the
    // bar shows them as they are now.
    menuBar()->insertMenu(aboutAction_, studyMenu_);
}

// Quitting closes the main window, which first asks about the lab's unsaved
// edits and then closes the lab with it.
void MainWindow::addQuitAction()
{
    studyMenu_->addSeparator();
    auto* quit = studyMenu_->addAction(tr("Quit"));
    quit->setObjectName("quitAction");
    quit->setShortcut(QKeySequence::Quit);
    quit->setShortcutContext(Qt::ApplicationShortcut);
    connect(quit, &QAction::triggered, this, &QWidget::close);
}

double MainWindow::chooseScale() const
{
    double scale = kMinPixelsPerTwip;
    for (const ControlSpec& spec : mainWindowControls()) {
        if (spec.text.empty() || spec.kind == Kind::TextBox || spec.kind == Kind::FileList)
            continue;
        const QWidget* widget = widgets_.value(qstr(spec.name));
        const QFontMetrics metrics(widget->font());
        const int needed =
            metrics.horizontalAdvance(qstr(spec.text)) + captionExtra(widget, spec.kind);
        scale = std::max(scale, pixelsPerTwipFor(needed, spec.width));
        if (spec.kind != Kind::Frame)
            scale = std::max(scale, pixelsPerTwipFor(metrics.height() + 2, spec.height));
    }
    return scale;
}

void MainWindow::placeControls()
{
    for (const ControlSpec& spec : mainWindowControls())
        widgets_.value(qstr(spec.name))
            ->setGeometry(toPixels(QRect(spec.left, spec.top, spec.width, spec.height), scale_));
    // The counts' boxes widen into the room on their right until their
    // largest count shows whole.
    for (const char* name : {"Text_nU", "Text_nI"}) {
        auto* box = qobject_cast<QLineEdit*>(widgets_.value(name));
        const QMargins margins = box->textMargins();
        const int needed = box->fontMetrics().horizontalAdvance(QString::number(kPointCapacity)) +
                           2 * box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) +
                           margins.left() + margins.right() + kLineEditInnerMargins;
        box->resize(std::max(box->width(), needed), box->height());
    }
    const QSize client(toPixels(kMainClientWidth, scale_), toPixels(kMainClientHeight, scale_));
    // A status sentence of up to three lines takes its extra lines from the
    // picture, not from the window's size: no scroll bar appears for it.
    const int sentenceLines = (StatusSentence::kMaxLines - 1) * fontMetrics().lineSpacing();
    const ControlSpec* picture = findControl("Picture1");
    pictureHeight_ = toPixels(picture->height, scale_) - sentenceLines;
    keepPictureInSight();
    QSize size(client.width(),
               client.height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    if (const QScreen* screen = this->screen()) {
        const QSize available = screen->availableGeometry().size() - kWindowDecoration;
        // Too low for the screen: room for the vertical scroll bar, so no
        // horizontal one is needed as well.
        if (size.height() > available.height())
            size.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
        size = size.boundedTo(available);
    }
    resize(size);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == client_ || watched == scroll_->viewport()) && event->type() == QEvent::Resize)
        keepPictureInSight();
    return QMainWindow::eventFilter(watched, event);
}

// In a window lower than the design the controls scroll under a picture
// that stays in the view, taking half of it (its design height at most);
// scrolled to the end, the picture sits in its design place below the
// controls. The list and the picture take whatever room the window gains,
// and in a narrow window the list gives up width before anything scrolls.
void MainWindow::keepPictureInSight()
{
    const ControlSpec* spec = findControl("Picture1");
    const int top = toPixels(spec->top, scale_);
    const int left = toPixels(spec->left, scale_);
    const int below = toPixels(kMainClientHeight - spec->top - spec->height, scale_);
    const int right = toPixels(kMainClientWidth - spec->left - spec->width, scale_);
    const QWidget* view = scroll_->viewport();
    const int height =
        std::max(view->height() - top - below, std::min(pictureHeight_, view->height() / 2));

    const ControlSpec* listSpec = findControl("List1");
    auto* list = widgets_.value("List1");
    const int listLeft = toPixels(listSpec->left, scale_);
    const QSize least(listLeft + toPixels(listSpec->width / 3, scale_) + right,
                      top + height + below);
    if (client_->minimumSize() != least)
        client_->setMinimumSize(least);
    list->setGeometry(listLeft, list->y(), client_->width() - listLeft - right, list->height());

    const QPoint scrolled(scroll_->horizontalScrollBar()->value(),
                          scroll_->verticalScrollBar()->value());
    const QRect place(scrolled.x() + left, scrolled.y() + view->height() - below - height,
                      view->width() - left - right, height);
    picture_->setGeometry(place);
    foldBrowserInto(place);
}

// The browser lies over the picture's left part; in a low window its lists
// give up height, scrolling their names, so that it stays whole in sight.
void MainWindow::foldBrowserInto(const QRect& picture)
{
    const ControlSpec* frame = findControl("Frame_DataSet");
    const QRect design = toPixels(QRect(frame->left, frame->top, frame->width, frame->height), scale_);
    const int shorter = std::max(0, design.height() - picture.height());
    widgets_.value("Frame_DataSet")
        ->setGeometry(picture.left() - toPixels(findControl("Picture1")->left, scale_) + design.left(),
                      picture.top(), design.width(), design.height() - shorter);
    for (const char* name : {"Dir1", "File1"}) {
        const ControlSpec* spec = findControl(name);
        const QRect place = toPixels(QRect(spec->left, spec->top, spec->width, spec->height), scale_);
        widgets_.value(name)->setGeometry(place.adjusted(0, 0, 0, -shorter));
    }
}

// A control that takes the focus in a low window is scrolled out from
// under the picture.
void MainWindow::revealAbovePicture(QWidget* widget)
{
    if (!widget || !client_->isAncestorOf(widget) || widget == picture_ ||
        widgets_.value("Frame_DataSet")->isAncestorOf(widget))
        return;
    const QRect place(widget->mapTo(client_, QPoint()), widget->size());
    const int hiddenBy = place.bottom() + 1 - picture_->y();
    if (hiddenBy > 0)
        scroll_->verticalScrollBar()->setValue(scroll_->verticalScrollBar()->value() + hiddenBy);
}

void MainWindow::createAdapters()
{
    adapters_ = std::make_unique<Adapters>(*this);
    messageBox_ = std::make_unique<QtMessageBox>(this);
    auto* sentence = new StatusSentence(statusBar());
    sentence->setObjectName("statusSentence");
    statusBar()->addWidget(sentence, 1);
    // A command that changed the kept results says so after its sentence;
    // the picture tells a screen reader what the last command did.
    statusLine_ = std::make_unique<QtStatusLine>(
        sentence, [this] { return picture_->takeKeptNote(); },
        [this](const QString& text) { picture_->setCommandSentence(text); });
    about_ = std::make_unique<AboutLauncher>(this);
}

void MainWindow::startBrowser(const QString& startDirectory)
{
    const QString start = startDirectory.isEmpty() ? QDir::currentPath() : startDirectory;
    drive_->selectDriveOf(start);
    dir_->setPath(QFile::encodeName(start).toStdString());
    files_->setPath(dir_->path());
}

void MainWindow::connectHandlers()
{
    Form_Tarvel* form = form_.get();
    connect(control<QPushButton>("Command1"), &QPushButton::clicked, this,
            [form] { form->Command1_Click(); });
    connect(control<QPushButton>("Command2"), &QPushButton::clicked, this,
            [form] { form->Command2_Click(); });
    for (const auto& [name, handler] : Form_Tarvel::kOptionHandlers)
        connect(control<QRadioButton>(std::string(name).c_str()), &QRadioButton::toggled, this,
                [form, handler = handler](bool selected) {
                    if (selected)
                        (form->*handler)();
                });
    connect(drive_, &QComboBox::currentIndexChanged, this, [form] { form->Drive1_Change(); });
    dir_->onChange = [form] { form->Dir1_Change(); };
    dir_->onUnreadable = [form](const std::string& path) { form->Dir1_Unreadable(path); };
    connect(files_, &QListWidget::itemClicked, this, [form] { form->File1_Click(); });
    connect(files_, &QListWidget::itemActivated, this, [form] { form->File1_Click(); });
}

void MainWindow::addStudyAids()
{
    Form_Tarvel* form = form_.get();
    for (const ControlSpec& spec : mainWindowControls()) {
        const std::string_view tip = toolTipOf(spec.name);
        if (!tip.empty())
            widgets_.value(qstr(spec.name))->setToolTip(qstr(tip));
    }

    // Return on a focused button presses it, as Space does.
    for (const char* name : {"Command1", "Command2"})
        control<QPushButton>(name)->setAutoDefault(true);
    // Return in an entry presses the button that uses it.
    const auto pressOnReturn = [this](std::initializer_list<const char*> entries,
                                      const char* button) {
        QPushButton* target = control<QPushButton>(button);
        for (const char* name : entries)
            connect(control<QLineEdit>(name), &QLineEdit::returnPressed, target,
                    &QPushButton::click);
    };
    pressOnReturn({"Text_nU", "Text_nPoly", "Text_a0", "Text_a1", "Text_a2", "Text_a3", "Text_a4"},
                  "Command1");
    pressOnReturn({"Text_nI", "Text_nDeg"}, "Command2");

    // Choosing "Data Set from a File" again brings back the browser that a
    // load hid; toggled does not fire for a button already selected.
    QWidget* browser = widgets_.value("Frame_DataSet");
    browser->setAutoFillBackground(true);  // no plot lines show through
    connect(control<QRadioButton>("Option_DataSet"), &QRadioButton::clicked, this,
            [form, browser](bool selected) {
                if (selected && browser->isHidden())
                    form->Option_DataSet_Click();
            });

    addListCopy(control<QAbstractItemView>("List1"), [this](const QString& text) {
        statusLine_->show(text.toStdString());
    });
    addAccessibility();

    picture_->setDecimalSeparator(QLocale().decimalPoint().toStdString());
    connect(picture_, &PictureWidget::readout, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(picture_, &PictureWidget::readoutLeft, this, [this] { statusBar()->clearMessage(); });
    const auto showNotice = [this](const QString& text) {
        statusBar()->clearMessage();
        statusLine_->show(text.toStdString());
    };
    connect(picture_, &PictureWidget::notice, this, showNotice);
    connect(picture_, &PictureWidget::limitReached, this, showNotice);
}

void MainWindow::addAccessibility()
{
    // A caption tied to its text box names the box for a screen reader and
    // keeps its own text.
    for (const CaptionOf& caption : textBoxCaptions())
        required<QLabel>(std::string(caption.label).c_str())
            ->setBuddy(required<QLineEdit>(std::string(caption.textBox).c_str()));
    for (const ControlSpec& spec : mainWindowControls()) {
        QWidget* widget = widgets_.value(qstr(spec.name));
        if (const std::string_view name = accessibleNameOf(spec.name); !name.empty())
            widget->setAccessibleName(qstr(name));
        if (const std::string_view description = accessibleDescriptionOf(spec.name);
            !description.empty())
            widget->setAccessibleDescription(qstr(description));
    }
    picture_->setCommandSentence(qstr(kPictureBlank));
}

}  // namespace tarvel::ui
