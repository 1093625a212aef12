#include "ui/qt/lab_window.h"

#include <cctype>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <utility>

#include "data/dsf_writer.h"
#include "data/number_text.h"
#include "data/printable_text.h"
#include "interp/cardinal.h"
#include "lab/lab_export.h"
#include "lab/node_text.h"
#include "lab/study_file.h"
#include "ui/qt/drawing_painter.h"
#include "ui/qt/export_dialog.h"
#include "ui/qt/file_save.h"
#include "ui/qt/lab_lessons.h"
#include "ui/qt/lab_plot.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/status_sentence.h"

namespace tarvel::ui {
namespace {

QString countedMethods(std::size_t count)
{
    return QString::number(count) +
           (count == 1 ? QStringLiteral(" method") : QStringLiteral(" methods"));
}

// About four steps of Play a second.
constexpr int kPlayIntervalMs = 250;
// Points of the convergence view arriving together are drawn together.
constexpr int kConvergenceRedrawMs = 15;
// While a node is dragged the numbers table is written this often: as often
// as a reader can follow its figures, where each move would cost a third of
// the move's time again.
constexpr int kDragNumbersMs = 100;
// Setting changes further apart than this are a person's separate steps.
constexpr int kRunPauseMs = 300;

// The last accepted entries the drop-down keeps.
constexpr int kExpressionHistory = 10;

const QString kGrammar = QStringLiteral(
    "Your function of x, for example exp(x) sin(10x).\n"
    "Numbers: 2.5, 1e-3. Constants: pi (π), e. Operators: + − * / ^ (× and · multiply).\n"
    "^ binds tighter than a minus sign and from the right: -x^2 = −(x²), 2^3^2 = 2^9.\n"
    "Functions: sin cos tan asin acos atan sinh cosh tanh exp log (ln) log10 sqrt abs.\n"
    "A product may be written without *: 10x, 2 sin(x), 3pi x, (x+1)(x-1), x(x+1).");

// Headers of two lines (a name broken at its space, but "at x" is short
// enough for one) keep the table narrow enough for a small lab without
// cutting a header; Copy numbers keeps the one-line names.
QStringList numbersHeaders()
{
    constexpr qsizetype kOneLine = 4;  // characters
    QStringList headers;
    for (const std::string_view column : kNumbersColumns) {
        QString header = qstr(column);
        if (header.size() > kOneLine)
            header.replace(' ', '\n');
        headers.push_back(header);
    }
    return headers;
}

// A cell of the numbers table that sorts by its figure, not its text; a
// missing figure sorts after every number.
class FigureItem : public QTableWidgetItem {
public:
    void setFigure(const std::optional<double>& figure)
    {
        setData(Qt::UserRole, figure.value_or(std::numeric_limits<double>::infinity()));
    }
    bool operator<(const QTableWidgetItem& other) const override
    {
        if (!data(Qt::UserRole).isValid())
            return QTableWidgetItem::operator<(other);  // the method's name
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

template <typename Id, std::size_t N>
QComboBox* comboOf(const std::array<Named<Id>, N>& table, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    for (const Named<Id>& entry : table)
        combo->addItem(qstr(entry.label), qstr(entry.key));
    return combo;
}

template <typename Id, std::size_t N>
void selectKey(QComboBox* combo, const std::array<Named<Id>, N>& table, Id id)
{
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(combo->findData(qstr(named(table, id).key)));
}

template <typename Id, std::size_t N>
std::optional<Id> chosen(const QComboBox* combo, const std::array<Named<Id>, N>& table)
{
    return byKey(table, combo->currentData().toString().toStdString());
}

// "&Degree of local:", "Blending degree d of fh:"; without the mark and
// the colon for people.
std::string parameterLabel(const StudyMethodRow& row, bool asFormLabel = true)
{
    std::string label = row.parameter->name;
    label[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(label[0])));
    label += std::string(" of ") + row.key;
    return asFormLabel ? "&" + label + ":" : label;
}

QString figureText(const std::optional<double>& figure)
{
    return figure ? qstr(compactNumber(*figure, ".", 6)) : QString();
}

}  // namespace

LabWindow::LabWindow(LabStart start, QWidget* parent)
    : QMainWindow(parent), model_(std::move(start), true)
{
    // Slow methods are built on workers from the first picture on: a lab
    // opened at 1001 nodes shows at once and fills in as they arrive.
    setObjectName("labWindow");
    setWindowTitle("Interpolation lab");
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    createActions();
    createLessons();
    describeControls();
    connectControls();
    showSettings();
    refresh();
    say(QStringLiteral("The lab shows ") + qstr(model_.functionLabel()) +
        QStringLiteral(" at ") + QString::number(model_.nodes().size()) + QStringLiteral(" nodes."));
    resize(1100, 720);
}

LabWindow::~LabWindow()
{
    // No worker may post to a window that is going.
    runner_.cancel();
    runner2_.cancel();
    workRun_.cancel();
    workRun2_.cancel();
    noiseThreads_.cancel();
}

void LabWindow::createControls()
{
    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    auto* settings = new QWidget(central);
    auto* form = new QFormLayout;
    auto* left = new QVBoxLayout(settings);
    left->setContentsMargins(0, 0, 0, 0);
    left->addLayout(form);

    function_ = comboOf(kLabFunctions, settings);
    function_->setObjectName("labFunction");
    expressionHistory_ = new QComboBox(settings);
    expressionHistory_->setObjectName("labExpressionHistory");
    expressionHistory_->setEditable(true);
    expressionHistory_->setInsertPolicy(QComboBox::NoInsert);
    expressionHistory_->lineEdit()->setObjectName("labExpression");
    expressionHistory_->lineEdit()->setPlaceholderText("exp(x) sin(10x)");
    expressionRefusal_ = new QLabel(settings);
    expressionRefusal_->setObjectName("labExpressionRefusal");
    expressionRefusal_->setStyleSheet("color: #c00000");
    expressionRefusal_->setWordWrap(true);
    expressionRefusal_->hide();
    nodes_ = comboOf(kNodeFamilies, settings);
    nodes_->addItem(qstr(kOwnNodesLabel), qstr(kOwnNodesKey));
    nodes_->setObjectName("labNodes");
    count_ = new QSpinBox(settings);
    count_->setObjectName("labCount");
    count_->setRange(kLabMinCount, kLabMaxCount);
    count_->setKeyboardTracking(false);
    view_ = comboOf(kLabViews, settings);
    view_->setObjectName("labView");
    form->addRow("&Function:", function_);
    form->addRow("f(&x) =", expressionHistory_);
    form->addRow(expressionRefusal_);
    form->addRow("&Nodes:", nodes_);
    form->addRow("Number of n&odes:", count_);
    for (const StudyMethodRow& row : methodRows())
        if (row.parameter) {
            auto* box = new QSpinBox(settings);
            box->setObjectName(row.parameter->control);
            box->setRange(row.parameter->low, row.parameter->high);
            box->setSingleStep(row.parameter->oddOnly ? 2 : 1);
            box->setKeyboardTracking(false);
            parameters_[methodIndex(row.method)] = box;
            form->addRow(qstr(parameterLabel(row)), box);
        }
    globalForm_ = comboOf(kGlobalForms, settings);
    globalForm_->setObjectName("labGlobalForm");
    form->addRow("Form of &global:", globalForm_);
    form->addRow("&View:", view_);
    form->addRow("No&ise:", createNoiseControls(settings));

    left->addWidget(createSecondPanelChoice(settings));
    left->addWidget(createMethodBoxes(settings));
    left->addWidget(createNodeTable(settings), 1);
    left->addStretch(1);

    auto* split = new QSplitter(Qt::Vertical, central);
    split->setObjectName("labSplit");
    split_ = split;
    plot_ = new LabPlot(split);
    plot_->setObjectName("labPlot");
    numbers_ = new QTableWidget(0, static_cast<int>(kNumbersColumns.size()), split);
    numbers_->setObjectName("labNumbers");
    numbers_->setHorizontalHeaderLabels(numbersHeaders());
    numbers_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    numbers_->verticalHeader()->setVisible(false);
    // Rows one line of text high, so all the methods fit under the plot.
    numbers_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    numbers_->verticalHeader()->setDefaultSectionSize(numbers_->fontMetrics().height() + 6);
    // Each column as wide as its header and figures: no header is cut.
    numbers_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    numbers_->horizontalHeader()->setStretchLastSection(true);
    numbers_->horizontalHeader()->setSortIndicatorClearable(true);
    numbers_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    numbers_->setSortingEnabled(true);
    auto* panels = new QSplitter(Qt::Horizontal, split);
    panels->addWidget(plot_);
    plot2_ = new LabPlot(panels);
    plot2_->setObjectName("labPlot2");
    plot2_->setAccessibleName("Second plot");
    plot2_->hide();
    plot_->setCompanion(plot2_);
    panels->addWidget(plot2_);
    split->addWidget(panels);
    split->addWidget(numbers_);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    split->setSizes({4000, 1000});  // the plot first; the table grows to its rows
    // In a low window the settings scroll; they are never narrowed.
    auto* settingsScroll = new QScrollArea(central);
    settingsScroll->setObjectName("labSettingsScroll");
    settingsScroll->setFrameShape(QFrame::NoFrame);
    settingsScroll->setWidgetResizable(true);
    settingsScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    settingsScroll->setFocusPolicy(Qt::NoFocus);
    settingsScroll->setWidget(settings);
    settingsScroll->setMinimumWidth(settings->sizeHint().width() +
                                    settingsScroll->verticalScrollBar()->sizeHint().width());
    columns->addWidget(settingsScroll);
    columns->addWidget(split, 1);
    setCentralWidget(central);

    sentence_ = new StatusSentence(statusBar());
    sentence_->setObjectName("labStatus");
    // A picture's sentence runs from one line to three as settings change:
    // a status bar that followed it would move the plot, and repaint the
    // whole window, at every change.
    sentence_->holdLines(StatusSentence::kMaxLines);
    statusBar()->addWidget(sentence_, 1);

    setTabOrder(function_, expressionHistory_);
    setTabOrder(expressionHistory_, nodes_);
    setTabOrder(nodes_, count_);
    QWidget* previous = count_;
    for (QSpinBox* box : parameters_)
        if (box) {
            setTabOrder(previous, box);
            previous = box;
        }
    setTabOrder(previous, globalForm_);
    setTabOrder(globalForm_, view_);
    // Down the settings, then the plot and the numbers on their right.
    previous = view_;
    for (QWidget* next : {static_cast<QWidget*>(noise_), findChild<QWidget*>("labNoiseSeedButton"),
                          static_cast<QWidget*>(function2_), static_cast<QWidget*>(nodes2_),
                          static_cast<QWidget*>(view2_)}) {
        setTabOrder(previous, next);
        previous = next;
    }
    for (QCheckBox* box : methods_) {
        setTabOrder(previous, box);
        previous = box;
    }
    for (QWidget* next : {static_cast<QWidget*>(nodeTable_),
                          findChild<QWidget*>("labAddNodeButton"),
                          findChild<QWidget*>("labDeleteNodesButton"), static_cast<QWidget*>(plot_),
                          static_cast<QWidget*>(numbers_)}) {
        setTabOrder(previous, next);
        previous = next;
    }

    createTableauPanel();

    playTimer_ = new QTimer(this);
    playTimer_->setInterval(kPlayIntervalMs);
    convergenceRedraw_ = new QTimer(this);
    convergenceRedraw_->setSingleShot(true);
    convergenceRedraw_->setInterval(kConvergenceRedrawMs);
    pendingChanges_ = new QTimer(this);
    pendingChanges_->setSingleShot(true);
    pendingChanges_->setInterval(0);
    connect(pendingChanges_, &QTimer::timeout, this, &LabWindow::applyPendingChanges);
    longWorkStart_ = new QTimer(this);
    longWorkStart_->setSingleShot(true);
    longWorkStart_->setInterval(0);
    longWorkRedraw_ = new QTimer(this);
    longWorkRedraw_->setSingleShot(true);
    longWorkRedraw_->setInterval(kConvergenceRedrawMs);
    dragNumbers_ = new QTimer(this);
    dragNumbers_->setSingleShot(true);
    dragNumbers_->setInterval(kDragNumbersMs);
    connect(dragNumbers_, &QTimer::timeout, this, [this] {
        // A run of changes rewrites every row of the node table: it is
        // written once, when the run stops.
        if (!settingRun_->isActive())
            updateNodeTable();
        updateNumbers();
    });
    settingRun_ = new QTimer(this);
    settingRun_->setSingleShot(true);
    settingRun_->setInterval(kRunPauseMs);
    connect(settingRun_, &QTimer::timeout, plot_, &LabPlot::runStopped);
    // In a turn of its own, apart from the legend's repaint.
    connect(settingRun_, &QTimer::timeout, this,
            [this] { QTimer::singleShot(0, this, &LabWindow::updateNodeTable); });
}

// While split: the second panel's own function, node family and view, each
// following the first panel until one is chosen.
QWidget* LabWindow::createSecondPanelChoice(QWidget* parent)
{
    auto* group = new QGroupBox("Second panel", parent);
    group->setObjectName("labSecondPanel");
    auto* form = new QFormLayout(group);
    function2_ = comboOf(kLabFunctions, group);
    function2_->insertItem(0, "As in panel 1", QString());
    function2_->setObjectName("labFunction2");
    nodes2_ = comboOf(kNodeFamilies, group);
    nodes2_->insertItem(0, "The other family", QString());
    nodes2_->setObjectName("labNodes2");
    view2_ = comboOf(kLabViews, group);
    view2_->insertItem(0, "As in panel 1", QString());
    view2_->setObjectName("labView2");
    form->addRow("Fun&ction:", function2_);
    form->addRow("Node&s:", nodes2_);
    form->addRow("Vie&w:", view2_);
    for (QComboBox* combo : {function2_, nodes2_, view2_}) {
        combo->setCurrentIndex(0);
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, combo] { secondPanelChosen(combo); });
    }
    group->hide();
    panel2Choice_ = group;
    return group;
}

void LabWindow::secondPanelChosen(QComboBox* control)
{
    stopPlay();
    const PanelChoice earlier = choice2_;
    choice2_ = {chosen(nodes2_, kNodeFamilies), chosen(function2_, kLabFunctions),
                chosen(view2_, kLabViews)};
    const Refusal refusal = panel2_.follow(model_, choice2_);
    if (refusal) {
        choice2_ = earlier;
        panel2_.follow(model_, choice2_);
        showSecondPanelChoice();
    }
    if (saidBeside(control, refusal))
        return;
    plot2_->releaseWorld();
    refresh();
    if (panel2_.model()->settings().view != LabView::Convergence)
        say(QStringLiteral("Panel 2: ") + qstr(pictureDescription(*panel2_.model())));
}

void LabWindow::showSplit(bool on)
{
    plot2_->setVisible(on);
    panel2Choice_->setVisible(on);
    // A panel shown again starts at its smallest width: share the room.
    if (auto* panels = qobject_cast<QSplitter*>(plot2_->parentWidget()); on && panels)
        panels->setSizes({panels->width() / 2, panels->width() - panels->width() / 2});
    if (!on) {
        runner2_.cancel();
        panel2_.clear();
    }
}

void LabWindow::showSecondPanelChoice()
{
    const auto select = [](QComboBox* combo, const auto& table, const auto& id) {
        if (id)
            return selectKey(combo, table, *id);
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(0);
    };
    select(function2_, kLabFunctions, choice2_.function);
    select(nodes2_, kNodeFamilies, choice2_.family);
    select(view2_, kLabViews, choice2_.view);
}

// One check box per method, with a swatch of its colour.
QWidget* LabWindow::createMethodBoxes(QWidget* parent)
{
    auto* group = new QGroupBox("Methods", parent);
    auto* list = new QVBoxLayout(group);
    for (const StudyMethod method : kStudyMethods) {
        auto* box = new QCheckBox(studyMethodName(method), group);
        box->setObjectName(QStringLiteral("labMethod_") + studyMethodKey(method));
        QPixmap swatch(12, 12);
        swatch.fill(qColour(methodColour(method)));
        box->setIcon(QIcon(swatch));
        methods_[methodIndex(method)] = box;
        list->addWidget(box);
    }
    return group;
}

// The nodes as a table of x and y: with a function y is f(x) and only x
// is typed; for data both are.
QWidget* LabWindow::createNodeTable(QWidget* parent)
{
    auto* group = new QGroupBox("Node table", parent);
    auto* column = new QVBoxLayout(group);
    nodeRows_ = new QStandardItemModel(0, 2, group);
    nodeRows_->setHorizontalHeaderLabels({"x", "y"});
    nodeTable_ = new QTableView(group);
    nodeTable_->setObjectName("labNodeTable");
    nodeTable_->setModel(nodeRows_);
    nodeTable_->verticalHeader()->setVisible(false);
    nodeTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    nodeTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    nodeTable_->setWordWrap(false);
    nodeTable_->setMinimumHeight(120);
    column->addWidget(nodeTable_, 1);
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton("&Add node", group);
    add->setObjectName("labAddNodeButton");
    auto* remove = new QPushButton("D&elete nodes", group);
    remove->setObjectName("labDeleteNodesButton");
    // Return on a focused button presses it, as Space does.
    add->setAutoDefault(true);
    remove->setAutoDefault(true);
    buttons->addWidget(add);
    buttons->addWidget(remove);
    column->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, [this] {
        // Into the widest gap, so that the new x is never one already there.
        const NodeList& nodes = model_.nodes();
        std::size_t widest = 1;
        for (std::size_t i = 1; i < nodes.size(); ++i)
            if (nodes[i].x - nodes[i - 1].x > nodes[widest].x - nodes[widest - 1].x)
                widest = i;
        const Node& a = nodes[widest - 1];
        const Node& b = nodes[widest];
        addNodeAt(a.x + (b.x - a.x) / 2, a.y + (b.y - a.y) / 2);
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        std::vector<std::size_t> rows;
        for (const QModelIndex& index : nodeTable_->selectionModel()->selectedRows())
            rows.push_back(static_cast<std::size_t>(index.row()));
        if (rows.empty())
            return say("Select the rows of the nodes to delete first.");
        deleteNodes(std::move(rows));
    });
    connect(nodeRows_, &QStandardItemModel::itemChanged, this, &LabWindow::nodeEdited);
    return group;
}

QAction* LabWindow::addAction(const char* name, const QString& text, const QKeySequence& keys)
{
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    if (!keys.isEmpty())
        action->setShortcut(keys);
    actions_.insert(name, action);
    return action;
}

void LabWindow::createActions()
{
    QMenu* lab = menuBar()->addMenu("&Lab");
    lab->addAction(addAction("labCopyNumbersAction", "Copy &numbers"));
    lab->addAction(addAction("labCopyPictureAction", "Copy &picture"));
    lab->addSeparator();
    lab->addAction(
        addAction("labOpenStudyAction", "&Open study…", QKeySequence(Qt::CTRL | Qt::Key_O)));
    lab->addAction(
        addAction("labSaveStudyAction", "&Save study…", QKeySequence(Qt::CTRL | Qt::Key_S)));
    lab->addSeparator();
    lab->addAction(addAction("labSavePictureAction", "Save p&icture…"));
    lab->addAction(addAction("labSaveValuesAction", "Save &values…"));
    lab->addAction(addAction("labSaveNodesAction", "Save no&des…"));
    lab->addSeparator();
    lab->addAction(addAction("labTitleAction", "&Title…"));
    lab->addAction(addAction("labExportAction", "&Export…"));
    lab->addAction(addAction("labPrintAction", "P&rint…", QKeySequence::Print));
    lab->addSeparator();
    QAction* splitView = addAction("labSplitAction", "Split into t&wo panels");
    splitView->setCheckable(true);
    lab->addAction(splitView);
    QAction* link = addAction("labLinkAxesAction", "Lin&k the panels' axes");
    link->setCheckable(true);
    link->setChecked(true);
    lab->addAction(link);
    QMenu* nodes = menuBar()->addMenu("&Nodes");
    nodes->addAction(addAction("labUndoAction", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z)));
    nodes->addAction(
        addAction("labRedoAction", "&Redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    nodes->addAction(addAction("labResetNodesAction", "Re&set nodes"));
    nodes->addSeparator();
    QAction* paste =
        addAction("labPasteNodesAction", "&Paste nodes", QKeySequence(Qt::CTRL | Qt::Key_V));
    // Ctrl+V pastes nodes in the node table; elsewhere it pastes text.
    paste->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    nodeTable_->addAction(paste);
    nodes->addAction(paste);
    nodes->addAction(addAction("labImportNodesAction", "&Import nodes…"));
    nodes->addSeparator();
    QAction* play = addAction("labPlayAction", "&Play n upward");
    play->setCheckable(true);
    nodes->addAction(play);
    QAction* hold = addAction("labHoldAxesAction", "&Hold the axes");
    hold->setCheckable(true);
    nodes->addAction(hold);
    nodes->addAction(addAction("labNoiseSeedAction", "Draw another noise s&eed"));
    nodes->addSeparator();
    QAction* showTableau = tableauPanel_->toggleViewAction();
    showTableau->setText("Divided-difference &tableau");
    showTableau->setObjectName("labTableauAction");
    actions_.insert("labTableauAction", showTableau);
    nodes->addAction(showTableau);
    nodes->addAction(addAction("labAddNodeStepAction", "&Add a node to the tableau",
                               QKeySequence(Qt::CTRL | Qt::Key_BracketRight)));
    nodes->addAction(addAction("labRemoveNodeStepAction", "Ta&ke the last node from the tableau",
                               QKeySequence(Qt::CTRL | Qt::Key_BracketLeft)));
    nodes->addAction(addAction("labCopyTableauAction", "&Copy tableau"));

    // The plot's own menu offers the same.
    plot_->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const char* name : {"labUndoAction", "labRedoAction", "labResetNodesAction",
                             "labHoldAxesAction", "labCopyPictureAction", "labSavePictureAction"})
        plot_->addAction(actions_.value(name));
}

// The Lessons menu: the lessons that come with the program, by their
// titles, and the teacher's edit of the lesson text; the text itself in a
// panel under the plot while a lesson is open.
void LabWindow::createLessons()
{
    lessonDock_ = new QDockWidget("Lesson", this);
    lessonDock_->setObjectName("labLessonDock");
    lessonPanel_ = new LessonPanel(lessonDock_);
    lessonPanel_->setObjectName("labLessonText");
    lessonPanel_->setAccessibleName("Lesson");
    lessonDock_->setWidget(lessonPanel_);
    // Under the plot and the settings, so that a narrow lab keeps its plot's width.
    addDockWidget(Qt::BottomDockWidgetArea, lessonDock_);
    lessonDock_->hide();

    QMenu* lessons = menuBar()->addMenu("Le&ssons");
    lessons->setObjectName("labLessonsMenu");
    addLessonItems(*lessons, QStringLiteral("labLesson_"), [this](const QString& path) {
        if (const std::optional<QString> why = openStudy(path))
            QMessageBox::warning(this, windowTitle(), *why);
    });
    lessons->addSeparator();
    QAction* panel = lessonDock_->toggleViewAction();
    panel->setText("Show the lesson &panel");
    panel->setObjectName("labLessonPanelAction");
    panel->setEnabled(false);
    lessons->addAction(panel);
    lessons->addAction(addAction("labLessonEditAction", "&Edit lesson text…"));
    connect(actions_.value("labLessonEditAction"), &QAction::triggered, this,
            &LabWindow::editLesson);
}

void LabWindow::setLesson(const std::optional<Lesson>& lesson)
{
    lesson_ = lesson;
    lessonDock_->toggleViewAction()->setEnabled(lesson.has_value());
    if (!lesson) {
        lessonDock_->hide();
        return;
    }
    lessonPanel_->showLesson(*lesson);
    if (!lessonDock_->isVisible()) {
        lessonDock_->show();
        // About a dozen lines of text, once the dock has its place.
        QTimer::singleShot(0, this, [this] {
            resizeDocks({lessonDock_}, {lessonPanel_->fontMetrics().lineSpacing() * 12},
                        Qt::Vertical);
        });
    }
}

void LabWindow::editLesson()
{
    LessonDialog dialog(lesson_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    setLesson(dialog.lesson());
    say(lesson_ ? QStringLiteral("The lesson's text is set; Save study keeps it.")
                : QStringLiteral("The study holds no lesson now."));
}

void LabWindow::describeControls()
{
    const auto describe = [this](QWidget* widget, const QString& name, const QString& what) {
        widget->setAccessibleName(name);
        widget->setAccessibleDescription(what);
        widget->setToolTip(what);
        toolTips_.insert(widget, what);
    };
    describe(function_, "Function",
             "The function whose values the nodes take; the main window's given points have no "
             "exact function.");
    describe(expressionHistory_, "Your function f(x)", kGrammar);
    describe(nodeTable_, "Node table",
             "The nodes, x and y in increasing x: type an x (and for data a y); Ctrl+V pastes "
             "nodes copied from a spreadsheet or a text.");
    describe(findChild<QPushButton*>("labAddNodeButton"), "Add node",
             "Adds a node in the middle of the widest gap.");
    describe(findChild<QPushButton*>("labDeleteNodesButton"), "Delete nodes",
             "Deletes the nodes of the selected rows.");
    describe(nodes_, "Nodes", "Where the nodes lie: evenly spaced, Chebyshev points or roots.");
    describe(count_, "Number of nodes",
             QStringLiteral("How many nodes, from %1 to %2.").arg(kLabMinCount).arg(kLabMaxCount));
    for (const StudyMethodRow& row : methodRows())
        if (row.parameter)
            describe(parameters_[methodIndex(row.method)], qstr(parameterLabel(row, false)),
                     QStringLiteral("The %1 of the %2, %3 to %4%5.")
                         .arg(row.parameter->name, row.name)
                         .arg(row.parameter->low)
                         .arg(row.parameter->high)
                         .arg(row.parameter->oddOnly ? ", odd" : ""));
    describe(globalForm_, "Form of the global polynomial",
             "How the global polynomial is evaluated: the barycentric form, Lagrange's first "
             "form, Newton's form with the nodes left to right, or monomial coefficients solved "
             "from the Vandermonde system. The convergence view shows where each loses its "
             "digits.");
    describe(view_, "View", "What the plot shows of the chosen methods.");
    describe(function2_, "Second panel's function",
             "The function of the second panel: the first panel's, or one of its own.");
    describe(nodes2_, "Second panel's nodes",
             "The node family of the second panel: the other of evenly spaced and Chebyshev "
             "points, or one chosen for it.");
    describe(view2_, "Second panel's view",
             "What the second panel shows: the first panel's view, or one of its own.");
    describe(numbers_, "Numbers",
             "One row per shown method: largest error, where, RMS error, overshoot and the "
             "Lebesgue constant on 10,001 points.");
    plot_->setAccessibleName("Plot");
    for (const StudyMethod method : kStudyMethods)
        describe(methods_[methodIndex(method)], studyMethodName(method),
                 QStringLiteral("Show the ") + studyMethodName(method) + ".");
}

void LabWindow::connectControls()
{
    connect(function_, &QComboBox::currentIndexChanged, this, [this] {
        if (const auto id = chosen(function_, kLabFunctions))
            settingChanged(model_.setFunction(*id), function_);
    });
    connect(expressionHistory_->lineEdit(), &QLineEdit::editingFinished, this,
            &LabWindow::applyExpression);
    connect(expressionHistory_, &QComboBox::activated, this, &LabWindow::applyExpression);
    connect(nodes_, &QComboBox::currentIndexChanged, this, [this] {
        if (nodes_->currentData().toString() == qstr(kOwnNodesKey))
            settingChanged(model_.setOwnNodes(true), nodes_);
        else if (const auto id = chosen(nodes_, kNodeFamilies))
            settingChanged(model_.setFamily(*id), nodes_);
    });
    connect(count_, &QSpinBox::valueChanged, this, [this] { deferChange(count_); });
    for (QSpinBox* box : parameters_)
        if (box)
            connect(box, &QSpinBox::valueChanged, this, [this, box] { deferChange(box); });
    connect(globalForm_, &QComboBox::currentIndexChanged, this, [this] {
        if (const auto id = chosen(globalForm_, kGlobalForms))
            settingChanged(model_.setGlobalForm(*id), globalForm_);
    });
    connect(view_, &QComboBox::currentIndexChanged, this, [this] {
        if (const auto id = chosen(view_, kLabViews))
            settingChanged(model_.setView(*id), view_);
    });
    for (const StudyMethod method : kStudyMethods)
        connect(methods_[methodIndex(method)], &QCheckBox::toggled, this, [this, method](bool on) {
            model_.setShown(method, on);
            settingChanged(std::nullopt, methods_[methodIndex(method)]);
        });

    connect(plot_, &LabPlot::dragStarted, this, [this] {
        stopPlay();
        model_.beginDrag();
    });
    connect(plot_, &LabPlot::dragMoved, this,
            [this](std::size_t node, double x, double y, bool moveX) {
                if (model_.moveNode(node, x, y, moveX)) {
                    // A drag moves the first panel's nodes alone, in a held
                    // world: the second panel keeps its picture.
                    const QScopedValueRollback firstOnly(firstPanelOnly_, true);
                    refresh();
                }
            });
    connect(plot_, &LabPlot::dragFinished, this, [this] {
        model_.finishDrag();
        refresh();
        describePicture();
    });
    connect(plot_, &LabPlot::nodeNudged, this, &LabWindow::moveByKey);
    connect(plot_, &LabPlot::nodeWanted, this, [this](double x, double y) { addNodeAt(x, y); });
    connect(plot_, &LabPlot::nodeDeleted, this, [this](std::size_t node) { deleteNodes({node}); });
    connect(plot_, &LabPlot::nodePicked, this, [this](std::size_t node) {
        if (const Refusal refusal = model_.setPickedNode(node))
            return say(qstr(*refusal));
        showPictures();
        say(qstr(pictureDescription(model_)));
    });
    connect(plot_, &LabPlot::readout, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(plot_, &LabPlot::readoutLeft, this, [this] { statusBar()->clearMessage(); });
    connect(plot_, &LabPlot::viewCommanded, this, &LabWindow::sayView);
    connect(plot_, &LabPlot::limitReached, this, &LabWindow::say);

    const auto onAction = [this](const char* name, auto handler) {
        connect(actions_.value(name), &QAction::triggered, this, handler);
    };
    onAction("labUndoAction", [this] {
        stopPlay();
        const Refusal refusal = model_.undo();
        showSettings();
        refresh();
        say(refusal ? qstr(*refusal) : QString("Undid one change of the nodes."));
    });
    onAction("labRedoAction", [this] {
        stopPlay();
        const Refusal refusal = model_.redo();
        showSettings();
        refresh();
        say(refusal ? qstr(*refusal) : QString("Redid one change of the nodes."));
    });
    onAction("labResetNodesAction", [this] {
        stopPlay();
        const bool reset = model_.resetNodes();
        refresh();
        say(reset ? "The nodes take the function's values again."
                  : "The nodes already hold the function's values.");
    });
    connect(actions_.value("labPlayAction"), &QAction::toggled, this, &LabWindow::startPlay);
    connect(actions_.value("labHoldAxesAction"), &QAction::toggled, this, [this](bool on) {
        plot_->setHoldAxes(on);
        say(on ? "The axes hold through every change of the settings."
               : "A change of the settings fits the axes to the picture again.");
    });
    connect(actions_.value("labSplitAction"), &QAction::toggled, this, [this](bool on) {
        showSplit(on);
        refresh();
        say(on ? QStringLiteral("The second panel shows the other node family.")
               : QStringLiteral("One panel."));
    });
    connect(actions_.value("labLinkAxesAction"), &QAction::toggled, this, [this] { refresh(); });
    const auto follow = [this](LabPlot* other) {
        return [this, other](const QRectF& world) {
            const WorldRect shown{world.left(), world.top(), world.right(), world.bottom()};
            // The other plot follows once; its own signal then finds this one there.
            if (plot2_->isVisible() && actions_.value("labLinkAxesAction")->isChecked() &&
                panelsShareAxes() && !(other->shownWorld() == shown))
                other->showWorld(shown);
        };
    };
    connect(plot_, &LabPlot::visibleWorldChanged, this, follow(plot2_));
    connect(plot2_, &LabPlot::visibleWorldChanged, this, follow(plot_));
    connect(playTimer_, &QTimer::timeout, this, &LabWindow::playStep);
    onAction("labPasteNodesAction", [this] { pasteNodes(QApplication::clipboard()->text()); });
    onAction("labImportNodesAction", [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, "Import nodes", QString(), "Nodes (*.csv *.tsv *.txt *.dsf);;All files (*)");
        if (!path.isEmpty())
            importNodes(path);
    });
    onAction("labCopyNumbersAction", [this] { copyNumbers(); });
    onAction("labCopyPictureAction", [this] { copyPicture(); });
    onAction("labTitleAction", [this] { askTitle(); });
    onAction("labExportAction", [this] {
        ExportDialog dialog(*plot_, this);
        connect(&dialog, &ExportDialog::exported, this, &LabWindow::say);
        dialog.exec();
    });
    onAction("labPrintAction", [this] {
        say(plot_->printWithDialog(this) ? QStringLiteral("Printed the picture.")
                                         : QStringLiteral("Nothing was printed."));
    });
    onAction("labSavePictureAction", [this] {
        saveWithDialog("Save picture", "Pictures (*.png *.svg *.pdf *.tex)", "lab.png",
                       &LabWindow::savePicture);
    });
    onAction("labSaveValuesAction", [this] {
        saveWithDialog("Save values", "CSV files (*.csv)", "lab-values.csv",
                       &LabWindow::saveValues);
    });
    onAction("labSaveStudyAction", [this] {
        saveWithDialog("Save study", "Tarvel studies (*.tarvel)", "study.tarvel",
                       &LabWindow::saveStudy);
    });
    onAction("labOpenStudyAction", [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, "Open study", QString(), "Tarvel studies (*.tarvel);;All files (*)");
        if (path.isEmpty())
            return;
        if (const std::optional<QString> why = openStudy(path))
            QMessageBox::warning(this, windowTitle(), *why);
    });
    onAction("labSaveNodesAction", [this] { saveNodesWithDialog(); });
    connect(noise_, &QSlider::valueChanged, this, [this](int level) {
        settingChanged(model_.setNoise(kNoiseLevels[static_cast<std::size_t>(level)]), noise_);
    });
    connect(findChild<QPushButton*>("labNoiseSeedButton"), &QPushButton::clicked,
            actions_.value("labNoiseSeedAction"), &QAction::trigger);
    onAction("labNoiseSeedAction", [this] {
        model_.setNoiseSeed(nextNoiseSeed(model_.settings().noiseSeed));
        settingChanged(std::nullopt, noise_);
    });
    connect(tableauOrder_, &QComboBox::currentIndexChanged, this, [this] {
        const std::optional<TableauOrder> order = chosen(tableauOrder_, kTableauOrders);
        if (!order)
            return;
        const Refusal refusal = tableau_.setOrder(*order);
        if (refusal)
            selectKey(tableauOrder_, kTableauOrders, tableau_.order());
        const QString done =
            *order == TableauOrder::Clicked
                ? QStringLiteral("Click the nodes in the plot in the order the tableau takes them.")
            : *order == TableauOrder::Leja
                ? QStringLiteral("The tableau takes the nodes in Leja order.")
                : QStringLiteral("The tableau takes the nodes from left to right.");
        tableauChanged(refusal, done);
    });
    const auto stepped = [this](bool added) {
        if (!added) {
            tableauChanged(std::nullopt, QStringLiteral("The tableau holds %1 nodes.")
                                             .arg(tableau_.taken().size()));
            return;
        }
        const std::size_t node = tableau_.taken().back();
        const std::vector<double> c = tableau_.table().coefficients();
        tableauChanged(std::nullopt,
                       QStringLiteral("Node %1 (x = %2) joins the tableau; its Newton coefficient "
                                      "is %3.")
                           .arg(node)
                           .arg(qstr(compactNumber(model_.nodes()[node].x, ".", 6)),
                                qstr(compactNumber(c.back(), ".", 6))));
    };
    onAction("labAddNodeStepAction", [this, stepped] {
        tableauPanel_->show();
        updateTableau();
        if (const Refusal refusal = tableau_.addStep())
            return tableauChanged(refusal, {});
        stepped(true);
    });
    onAction("labRemoveNodeStepAction", [this, stepped] {
        tableauPanel_->show();
        updateTableau();
        if (const Refusal refusal = tableau_.removeStep())
            return tableauChanged(refusal, {});
        stepped(false);
    });
    connect(plot_, &LabPlot::clicked, this, &LabWindow::plotClicked);
    onAction("labCopyTableauAction", [this] {
        if (const std::string why = tableau_.unavailable(); !why.empty())
            return tableauChanged(why, {});
        QApplication::clipboard()->setText(qstr(tableau_.text()));
        say(QStringLiteral("Copied the tableau of %1 nodes.").arg(tableau_.taken().size()));
    });
    // Its triggering alone: the panel hidden as the window goes must not redraw.
    connect(actions_.value("labTableauAction"), &QAction::triggered, this, [this] {
        updateTableau();
        showPictures();
    });
    connect(longWorkStart_, &QTimer::timeout, this, &LabWindow::startLongWork);
    connect(longWorkRedraw_, &QTimer::timeout, this, &LabWindow::showArrivedWork);
    connect(convergenceRedraw_, &QTimer::timeout, this, [this] {
        showPictures();
        emit convergenceArrived();
    });
}

// A held arrow or a run of key presses changes a spin box many times in one
// turn of the event loop: the latest value of each is taken once the events
// waiting are, so the lab computes and draws once, not once a press.
void LabWindow::deferChange(QSpinBox* box)
{
    if (std::find(pendingBoxes_.begin(), pendingBoxes_.end(), box) == pendingBoxes_.end())
        pendingBoxes_.push_back(box);
    pendingChanges_->start();
}

void LabWindow::applyPendingChanges()
{
    // The values are read first: taking one change shows the settings,
    // which sets every box no longer pending to what the model holds.
    std::vector<std::pair<QSpinBox*, int>> changes;
    for (QSpinBox* box : std::exchange(pendingBoxes_, {}))
        changes.emplace_back(box, box->value());
    // A change soon after the last is part of a run (a held arrow, quick
    // presses): the tables follow it only every little while, and the
    // legend holds still.
    const QScopedValueRollback inRun(inSettingRun_, settingRun_->isActive());
    settingRun_->start();
    if (inSettingRun_)
        plot_->holdLegendThroughRun();
    for (const auto& [box, value] : changes) {
        if (box == count_) {
            settingChanged(model_.setCount(value), box);
            continue;
        }
        const auto method = static_cast<std::size_t>(
            std::find(parameters_.begin(), parameters_.end(), box) - parameters_.begin());
        settingChanged(model_.setParameter(kStudyMethods[method], value), box);
    }
}

// A refusal is said in the status line and kept in the control's tip; a
// change taken gives the control its own tip back.
bool LabWindow::saidBeside(QWidget* control, const Refusal& refusal)
{
    if (!refusal) {
        control->setToolTip(toolTips_.value(control));
        return false;
    }
    const QString why = qstr(*refusal);
    control->setToolTip(why);
    say(why);
    return true;
}

void LabWindow::settingChanged(Refusal refusal, QWidget* control)
{
    stopPlay();
    if (refusal)
        showSettings();
    if (saidBeside(control, refusal))
        return;
    // Another view has other axes; otherwise the axes stay while held.
    if (control == view_ || !actions_.value("labHoldAxesAction")->isChecked())
        plot_->releaseWorld();
    showSettings();
    refresh();
    if (control != view_ || model_.settings().view != LabView::Convergence)
        describePicture();
}

// The entry is read when it is left or Return is pressed; a refusal stays
// beside it, and the lab keeps the function it had.
void LabWindow::applyExpression()
{
    const QString text = expressionHistory_->currentText();
    const auto& typed = model_.expression();
    if (typed && model_.settings().function == LabFunction::Expression &&
        qstr(typed->text()) == text)
        return;
    stopPlay();
    if (const Refusal refusal = model_.setExpression(text.toStdString())) {
        const QString why = qstr(*refusal);
        expressionRefusal_->setText(why);
        expressionRefusal_->show();
        say(why);
        return;
    }
    expressionRefusal_->clear();
    expressionRefusal_->hide();
    fitNewPicture();
    {
        const QSignalBlocker blocker(expressionHistory_);
        const int earlier = expressionHistory_->findText(text);
        if (earlier >= 0)
            expressionHistory_->removeItem(earlier);
        if (expressionHistory_->count() == kExpressionHistory)
            expressionHistory_->removeItem(kExpressionHistory - 1);
        expressionHistory_->insertItem(0, text);
        expressionHistory_->setCurrentIndex(0);
    }
    showSettings();
    refresh();
    describePicture();
}

// Another function or study is a new picture: the world a drag or a zoom
// left is let go, unless the axes are held.
void LabWindow::fitNewPicture()
{
    if (!actions_.value("labHoldAxesAction")->isChecked())
        plot_->releaseWorld();
}

// The controls say what the model holds, without calling back into it.
void LabWindow::showSettings()
{
    const LabSettings& s = model_.settings();
    selectKey(function_, kLabFunctions, s.function);
    selectKey(nodes_, kNodeFamilies, s.family);
    selectKey(view_, kLabViews, s.view);
    selectKey(globalForm_, kGlobalForms, s.parameters.globalForm);
    // A box whose change is still to be taken keeps the value it shows.
    const auto pending = [this](QSpinBox* box) {
        return std::find(pendingBoxes_.begin(), pendingBoxes_.end(), box) != pendingBoxes_.end();
    };
    if (!pending(count_)) {
        const QSignalBlocker blocker(count_);
        count_->setValue(s.count);
    }
    for (const StudyMethod method : kStudyMethods)
        if (QSpinBox* box = parameters_[methodIndex(method)]; box && !pending(box)) {
            const QSignalBlocker blocker(box);
            box->setValue(s.parameters.of(method));
        }
    if (s.ownNodes) {
        const QSignalBlocker blocker(nodes_);
        nodes_->setCurrentIndex(nodes_->findData(qstr(kOwnNodesKey)));
    }
    showNoise();
    const bool fromData = s.function == LabFunction::Data;
    nodes_->setEnabled(!fromData);
    count_->setEnabled(!fromData && !s.ownNodes);
    for (const StudyMethod method : kStudyMethods) {
        const QSignalBlocker blocker(methods_[methodIndex(method)]);
        methods_[methodIndex(method)]->setChecked(s.shown[methodIndex(method)]);
    }
}

void LabWindow::refresh()
{
    askNoiseEffects();
    if (model_.settings().view == LabView::Convergence)
        ensureConvergence(model_, convergence_, runner_);
    updateSecondPanel();
    if (const auto& second = panel2_.model(); second && second->settings().view == LabView::Convergence)
        ensureConvergence(*second, convergence2_, runner2_);
    showPictures();
    plot_->setAccessibleDescription(qstr(pictureDescription(model_)));
    plot_->setAddsNodes(model_.settings().view == LabView::Values);
    plot_->setPicksNodes(model_.settings().view == LabView::Cardinal);
    // Through a run of changes the tables wait, as through a drag; a drag
    // changes a cell or two of the node table, which are set at once.
    if (!inSettingRun_)
        updateNodeTable();
    tableau_.setNodes(model_.nodes());
    updateTableau();
    updateMethods();
    if (!firstPanelOnly_ && !inSettingRun_) {
        dragNumbers_->stop();
        updateNumbers();
    } else if (!dragNumbers_->isActive()) {
        dragNumbers_->start();
    }
    updateActions();
    if (methodWorkPending())
        longWorkStart_->start();
}

void LabWindow::describePicture()
{
    say(withNoiseEffects(qstr(pictureDescription(model_))));
    pendingDescription_ = model_.workPending() ? sentence_->text() : QString();
    saidWithoutNoise_ = noisePending_ ? sentence_->text() : QString();
}

QString LabWindow::withNoiseEffects(const QString& sentence) const
{
    const std::string noise = noiseEffectSentence(model_.settings(), noiseEffects_);
    return noise.empty() ? sentence : sentence + " " + qstr(noise);
}

void LabWindow::askNoiseEffects()
{
    noiseThreads_.stopRunning();
    noiseEffects_.clear();
    const std::uint64_t asked = ++noiseAsked_;
    std::optional<NoiseEffectInputs> inputs = model_.noiseEffectInputs();
    noisePending_ = inputs.has_value();
    if (!inputs)
        return;
    noiseThreads_.add([this, asked, inputs = std::move(*inputs)](std::stop_token stop) {
        std::vector<NoiseEffect> effects = noiseEffectsOf(inputs, stop);
        if (stop.stop_requested())
            return;
        QMetaObject::invokeMethod(
            this,
            [this, asked, effects = std::move(effects)]() mutable {
                noiseEffectsArrived(asked, std::move(effects));
            },
            Qt::QueuedConnection);
    });
}

void LabWindow::noiseEffectsArrived(std::uint64_t asked, std::vector<NoiseEffect> effects)
{
    if (asked != noiseAsked_)
        return;  // the nodes or the methods have changed since
    noisePending_ = false;
    noiseEffects_ = std::move(effects);
    updateNumbers();
    // The sentence that waited for the noise's effects takes them, unless
    // something else has been said since.
    if (!saidWithoutNoise_.isEmpty() && sentence_->text() == saidWithoutNoise_) {
        const bool waitsForValues = pendingDescription_ == saidWithoutNoise_;
        say(withNoiseEffects(saidWithoutNoise_));
        if (waitsForValues)
            pendingDescription_ = sentence_->text();
    }
    saidWithoutNoise_.clear();
    if (!workPending())
        emit workFinished();
}

void LabWindow::startLongWork()
{
    startWork(workRun_, model_.takeLongWork(),
              [this](MethodWorkResult result) { return model_.takeResult(std::move(result)); });
    startWork(workRun2_, panel2_.takeLongWork(),
              [this, epoch = panel2_.epoch()](MethodWorkResult result) {
                  return panel2_.takeResult(epoch, std::move(result));
              });
}

void LabWindow::startWork(MethodWorkRun& run, std::vector<MethodWork> works,
                          std::function<bool(MethodWorkResult)> take)
{
    if (works.empty())
        return;
    // Each result is posted to the window's thread; one of a state the
    // model has left is dropped there.
    run.start(std::move(works), [this, take = std::move(take)](MethodWorkResult result) {
        QMetaObject::invokeMethod(
            this,
            [this, take, result = std::move(result)]() mutable {
                if (take(std::move(result)) && !longWorkRedraw_->isActive())
                    longWorkRedraw_->start();
            },
            Qt::QueuedConnection);
    });
}

bool LabWindow::methodWorkPending() const
{
    return model_.workPending() || panel2_.workPending();
}

bool LabWindow::workPending() const
{
    return methodWorkPending() || noisePending_;
}

void LabWindow::showArrivedWork()
{
    {
        // A drag moves the first panel alone.
        const QScopedValueRollback firstOnly(firstPanelOnly_, model_.dragging());
        showPictures();
    }
    plot_->setAccessibleDescription(qstr(pictureDescription(model_)));
    updateMethods();  // a build done on a worker may have refused the nodes
    updateNumbers();
    if (methodWorkPending())
        return;
    // The methods built on workers have their effects of the noise too.
    askNoiseEffects();
    // The description that said "being computed" gives way to the figures,
    // unless something else has been said since.
    if (!pendingDescription_.isEmpty() && sentence_->text() == pendingDescription_) {
        say(qstr(pictureDescription(model_)));
        saidWithoutNoise_ = noisePending_ ? sentence_->text() : QString();
    }
    pendingDescription_.clear();
    if (!workPending())
        emit workFinished();
}

// Only the cells that changed are set: a drag refreshes at every move.
void LabWindow::updateNodeTable()
{
    const NodeList& nodes = model_.nodes();
    const bool sameBits = tableShows_ && tableShows_->size() == nodes.size() &&
                          std::equal(nodes.begin(), nodes.end(), tableShows_->begin(),
                                     [](const Node& a, const Node& b) {
                                         return std::bit_cast<std::uint64_t>(a.x) ==
                                                    std::bit_cast<std::uint64_t>(b.x) &&
                                                std::bit_cast<std::uint64_t>(a.y) ==
                                                    std::bit_cast<std::uint64_t>(b.y);
                                     });
    // Formatting every cell to compare it costs more than a frame at 1001
    // nodes, so a table that shows these very nodes is left as it is.
    if (sameBits && tableYEditable_ == !model_.hasFunction())
        return;
    tableShows_ = nodes;
    tableYEditable_ = !model_.hasFunction();
    // The view must hear of the changes, so the model's signals stay on.
    fillingNodeTable_ = true;
    nodeRows_->setRowCount(static_cast<int>(nodes.size()));
    const Qt::ItemFlags fixed = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    const Qt::ItemFlags yFlags = model_.hasFunction() ? fixed : fixed | Qt::ItemIsEditable;
    for (int r = 0; r < static_cast<int>(nodes.size()); ++r) {
        const Node& node = nodes[static_cast<std::size_t>(r)];
        const double values[] = {node.x, node.y};
        for (int c = 0; c < 2; ++c) {
            QStandardItem* item = nodeRows_->item(r, c);
            if (!item) {
                item = new QStandardItem;
                nodeRows_->setItem(r, c, item);
            }
            const QString text = QString::number(values[c], 'g', QLocale::FloatingPointShortest);
            if (item->text() != text)
                item->setText(text);
            const Qt::ItemFlags flags = c == 0 ? fixed | Qt::ItemIsEditable : yFlags;
            if (item->flags() != flags)
                item->setFlags(flags);
        }
    }
    fillingNodeTable_ = false;
}

void LabWindow::nodeEdited(QStandardItem* item)
{
    if (fillingNodeTable_)
        return;
    tableShows_.reset();  // the cell holds the text typed, which the nodes may not say
    const auto row = static_cast<std::size_t>(item->row());
    NodeList nodes = model_.nodes();
    const std::string text = item->text().toStdString();
    const std::optional<double> value = readNodeValue(text, true);
    if (!value || row >= nodes.size()) {
        updateNodeTable();
        return say(QStringLiteral("'") + qstr(isolatedText(text, 40)) +
                   QStringLiteral("' is not a number; the node stays."));
    }
    (item->column() == 0 ? nodes[row].x : nodes[row].y) = *value;
    std::stable_sort(nodes.begin(), nodes.end(),
                     [](const Node& a, const Node& b) { return a.x < b.x; });
    changeNodes(std::move(nodes), true,
                QStringLiteral("Node %1 changed to %2.").arg(row).arg(item->text()));
}

// Every change of the nodes from the table, the plot, a paste or a file
// goes here: one step of Undo, or a refusal that leaves the nodes.
std::optional<QString> LabWindow::changeNodes(NodeList nodes, bool withY, const QString& done)
{
    stopPlay();
    if (const Refusal refusal = model_.replaceNodes(std::move(nodes), withY)) {
        updateNodeTable();
        const QString why = qstr(*refusal);
        say(why);
        return why;
    }
    showSettings();
    refresh();
    say(done);
    return std::nullopt;
}

void LabWindow::addNodeAt(double x, double y)
{
    NodeList nodes = model_.nodes();
    const auto at = std::lower_bound(nodes.begin(), nodes.end(), x,
                                     [](const Node& node, double v) { return node.x < v; });
    nodes.insert(at, Node{x, y});
    changeNodes(std::move(nodes), true,
                QStringLiteral("Added a node at x = ") + qstr(compactNumber(x, ".", 6)) + ".");
}

void LabWindow::deleteNodes(std::vector<std::size_t> rows)
{
    std::sort(rows.begin(), rows.end());
    NodeList nodes;
    const NodeList& now = model_.nodes();
    for (std::size_t i = 0; i < now.size(); ++i)
        if (!std::binary_search(rows.begin(), rows.end(), i))
            nodes.push_back(now[i]);
    const std::size_t deleted = now.size() - nodes.size();
    changeNodes(std::move(nodes), true,
                QStringLiteral("Deleted ") + QString::number(deleted) +
                    (deleted == 1 ? " node." : " nodes."));
}

std::optional<QString> LabWindow::saveStudy(const QString& path)
{
    tarvel::Study study = studyOf(model_);
    study.split = actions_.value("labSplitAction")->isChecked();
    study.linkAxes = actions_.value("labLinkAxesAction")->isChecked();
    study.panel2 = choice2_;
    if (title_)
        study.title = title_->toStdString();
    if (plot_->zoomed())
        study.zoom = plot_->shownWorld();
    study.lesson = lesson_;
    const QString why = saveWhole(path, QByteArray::fromStdString(studyFileText(study)));
    if (!why.isEmpty())
        return why;
    model_.markStudySaved();
    savedLesson_ = lesson_;
    return std::nullopt;
}

std::optional<QString> LabWindow::openStudy(const QString& path)
{
    // Far larger than any study of 1001 nodes and 1001 given points.
    constexpr qint64 kLargestStudy = 4 << 20;
    const QString name = shownFileName(path);
    QFile file(path);
    QString why;
    if (!file.open(QIODevice::ReadOnly))
        why = QStringLiteral("Cannot read ") + name + ": " + file.errorString();
    else if (file.size() > kLargestStudy)
        why = name + QStringLiteral(" is too large for a study.");
    std::optional<tarvel::Study> study;
    if (why.isEmpty()) {
        StudyRead read = readStudyFile(file.readAll().toStdString());
        study = std::move(read.study);
        if (!study)
            why = name + ": " + qstr(read.refusal);
    }
    StudyModel opened;
    if (study) {
        opened = modelOf(*study, true);
        if (!opened.model)
            why = name + ": " + qstr(opened.refusal);
    }
    if (!why.isEmpty()) {
        say(why);
        return why;
    }
    stopPlay();
    model_ = std::move(*opened.model);
    model_.markStudySaved();  // as it was opened, nothing is lost by closing
    // A study keeps a title of the user's own; none is the one that follows the settings.
    title_ = study->title.empty() ? std::nullopt : std::optional<QString>(qstr(study->title));
    savedLesson_ = study->lesson;
    setLesson(study->lesson);
    if (const auto& typed = model_.expression()) {
        const QSignalBlocker blocker(expressionHistory_);
        expressionHistory_->insertItem(0, qstr(typed->text()));
        expressionHistory_->setCurrentIndex(0);
        expressionRefusal_->hide();
    }
    choice2_ = study->panel2;
    showSecondPanelChoice();
    for (const auto& [action, on] : {std::pair("labSplitAction", study->split),
                                     std::pair("labLinkAxesAction", study->linkAxes)}) {
        const QSignalBlocker blocker(actions_.value(action));
        actions_.value(action)->setChecked(on);
    }
    showSplit(study->split);
    panel2_ = std::move(opened.panel2);  // already computed for the model, when split
    plot2_->releaseWorld();
    fitNewPicture();
    showSettings();
    refresh();
    if (study->zoom)
        plot_->showWorld(*study->zoom);
    say(study->lesson ? QStringLiteral("Opened the lesson “") + qstr(study->lesson->title) +
                            QStringLiteral("” from ") + name + "."
                      : QStringLiteral("Opened the study ") + name + ".");
    return std::nullopt;
}

std::optional<QString> LabWindow::pasteNodes(const QString& text)
{
    const NodeTextRead read = readNodeText(text.toStdString());
    if (!read.refusal.empty()) {
        say(qstr(read.refusal));
        return qstr(read.refusal);
    }
    return changeNodes(read.nodes, read.withY,
                       QStringLiteral("Pasted ") + QString::number(read.nodes.size()) + " nodes.");
}

std::optional<QString> LabWindow::importNodes(const QString& path)
{
    // Far more than 1001 nodes of any text ever take.
    constexpr qint64 kLargestNodeFile = 16 << 20;
    const QString name = shownFileName(path);
    QFile file(path);
    QString why;
    if (!file.open(QIODevice::ReadOnly))
        why = QStringLiteral("Cannot read ") + name + ": " + file.errorString();
    else if (file.size() > kLargestNodeFile)
        why = name + QStringLiteral(" is too large for a file of nodes.");
    if (!why.isEmpty()) {
        say(why);
        return why;
    }
    const NodeTextRead read =
        readNodeFile(QFileInfo(path).fileName().toStdString(), file.readAll().toStdString());
    if (!read.refusal.empty()) {
        why = name + ": " + qstr(read.refusal);
        say(why);
        return why;
    }
    return changeNodes(read.nodes, read.withY,
                       QStringLiteral("Imported ") + QString::number(read.nodes.size()) +
                           QStringLiteral(" nodes from ") + name + ".");
}

void LabWindow::updateMethods()
{
    for (const StudyMethod method : kStudyMethods) {
        QCheckBox* box = methods_[methodIndex(method)];
        const MethodOutcome& out = model_.outcome(method);
        const QString name = studyMethodName(method);
        const bool cardinal = model_.settings().view == LabView::Cardinal;
        const QString text = !out.available()                     ? name + " (unavailable)"
                             : cardinal && !linearInData(method) ? name + " (not linear in the data)"
                                                                 : name;
        const QString tip = out.available() ? toolTips_.value(box) : qstr(out.refusal);
        // Set only when they change: a drag refreshes the methods at every move.
        if (box->text() != text)
            box->setText(text);
        if (box->toolTip() != tip) {
            box->setToolTip(tip);
            box->setAccessibleDescription(tip);
        }
    }
}

void LabWindow::updateNumbers()
{
    std::vector<NumbersRow> rows = numbersWithViewFigures(model_);
    const std::size_t firstPanel = rows.size();
    const std::optional<LabModel>& model2 = panel2_.model();
    const bool split = plot2_->isVisible() && model2;
    for (std::size_t c = 0; c < kNumbersColumns.size(); ++c)
        numbers_->setColumnHidden(static_cast<int>(c),
                                  !numbersColumnShown(c, model_.settings().view) &&
                                      !(split && numbersColumnShown(c, model2->settings().view)));
    if (split) {
        const std::vector<NumbersRow> second = numbersWithViewFigures(*model2);
        rows.insert(rows.end(), second.begin(), second.end());
    }
    const int shownRows = numbers_->rowCount();
    // The rows are written in the model's order and sorted again after.
    numbers_->setSortingEnabled(false);
    numbers_->setRowCount(static_cast<int>(rows.size()));
    const auto largestValue = [](const LabModel& model) {
        double magnitude = 0;
        for (const Node& node : model.nodes())
            magnitude = std::max(magnitude, std::fabs(node.y));
        return magnitude;
    };
    const double magnitudes[] = {largestValue(model_), split ? largestValue(*model2) : 0.0};
    constexpr int kOrderColumn = 6;
    // What noise on the values did to each method, beside its largest error.
    std::map<std::string, QString> noiseEffects;
    for (const NoiseEffect& effect : noiseEffects_)
        noiseEffects[studyMethodKey(effect.method)] =
            QStringLiteral("From the noise: ") + qstr(noiseEffectText(effect)) + ".";
    // Each cell told alone would make the view measure every column again
    // for it; the view hears of all the cells at once below.
    std::optional<QSignalBlocker> quiet(numbers_->model());
    // The cells whose text or tip changed: while a node of the first panel
    // is dragged, the second panel's rows stay as they are.
    QRect changed;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const NumbersRow& row = rows[static_cast<std::size_t>(r)];
        const bool inFirst = static_cast<std::size_t>(r) < firstPanel;
        const LabModel& source = inFirst ? model_ : *model2;
        const auto method = studyMethodFromKey(row.method);
        const MethodOutcome* out = method ? &source.outcome(*method) : nullptr;
        const std::optional<ObservedRate> rate =
            method ? observedRateOf(source, (inFirst ? convergence_ : convergence2_).table(), *method)
                   : std::nullopt;
        const QString panel = !split ? QString() : inFirst ? QStringLiteral(" · panel 1")
                                                           : QStringLiteral(" · panel 2");
        std::optional<double> overshoot = row.overshoot;
        if (overshoot)
            overshoot = overshootShown(*overshoot, magnitudes[inFirst ? 0 : 1]);
        const std::optional<double> figures[] = {std::nullopt,  row.largestError, row.atX,
                                                 row.rmsError, overshoot,        row.lebesgueConstant};
        for (int c = 0; c <= kOrderColumn; ++c) {
            auto* item = static_cast<FigureItem*>(numbers_->item(r, c));
            bool cellChanged = !item;
            if (!item) {
                item = new FigureItem;
                numbers_->setItem(r, c, item);
            }
            const std::size_t k = static_cast<std::size_t>(c);
            if (c > 0 && c < kOrderColumn)
                item->setFigure(figures[k]);
            QString text = c == 0             ? (method ? studyMethodName(*method) : qstr(row.method)) + panel
                           : c == kOrderColumn ? (rate ? qstr(rateText(*rate)) : QString())
                                               : figureText(figures[k]);
            QString tip;
            if (out && !out->available()) {
                tip = qstr(out->refusal);
                if (c == 1)
                    text = "unavailable";
            } else if (out && (out->pending || out->previewed) && c > 0 && c < kOrderColumn) {
                text = "…";
                tip = "Being computed.";
            } else if (c == kOrderColumn && text.isEmpty()) {
                tip = "The convergence view fits it once all its points are in.";
            } else if (c > 0 && c < 5 && text.isEmpty()) {
                tip = "No exact function to compare with.";
            } else if (c == 2 && out && out->figures && out->figures->maxErrorOutside) {
                text += " (outside the nodes)";
                tip = qstr(largestErrorText(*out->figures)) + ".";
            } else if (c == 1 && inFirst && noiseEffects.count(row.method)) {
                tip = noiseEffects[row.method];
            }
            if (item->text() != text) {
                item->setText(text);
                cellChanged = true;
            }
            if (item->toolTip() != tip) {
                item->setToolTip(tip);
                cellChanged = true;
            }
            if (cellChanged)
                changed |= QRect(c, r, 1, 1);
        }
        changed |= showViewFigures(r, row);
    }
    quiet.reset();
    if (!changed.isEmpty())
        emit numbers_->model()->dataChanged(numbers_->model()->index(changed.top(), changed.left()),
                                            numbers_->model()->index(changed.bottom(), changed.right()));
    numbers_->setSortingEnabled(true);
    if (numbers_->rowCount() != shownRows)
        giveNumbersRoom();
}

// The cells of the view's own columns in row r: AAA's support points and
// nearest pole, the largest |ω|; each sorts by its figure.
QRect LabWindow::showViewFigures(int r, const NumbersRow& row)
{
    QRect changed;
    const auto set = [&](std::size_t column, const std::optional<double>& figure,
                         const QString& text, const QString& tip) {
        const int c = static_cast<int>(column);
        auto* item = static_cast<FigureItem*>(numbers_->item(r, c));
        if (!item) {
            item = new FigureItem;
            numbers_->setItem(r, c, item);
            changed |= QRect(c, r, 1, 1);
        }
        item->setFigure(figure);
        if (item->text() != text || item->toolTip() != tip)
            changed |= QRect(c, r, 1, 1);
        if (item->text() != text)
            item->setText(text);
        if (item->toolTip() != tip)
            item->setToolTip(tip);
    };
    const bool aaa = row.method == studyMethodKey(StudyMethod::Aaa);
    const QString onlyAaa = aaa ? QString() : QStringLiteral("Only AAA has support points and poles.");
    set(kSupportPointsColumn, row.supportPoints, figureText(row.supportPoints), onlyAaa);
    std::optional<double> distance;
    QString poleTip = onlyAaa;
    if (row.nearestPole) {
        distance = std::abs(row.nearestPole->imag());
        poleTip = QStringLiteral("The pole nearest the nodes, and its conjugate.");
    } else if (row.supportPoints) {
        poleTip = QStringLiteral("No pole.");
    }
    set(kNearestPoleColumn, distance,
        row.nearestPole ? qstr(poleText(*row.nearestPole, [](double value) {
            return compactNumber(value, ".", 6);
        }))
                        : QString(),
        poleTip);
    set(kLargestOmegaColumn,
        row.largestOmega ? std::optional<double>(row.largestOmega->log10Magnitude()) : std::nullopt,
        row.largestOmega ? qstr(scaledText(*row.largestOmega, 6)) : QString(),
        row.largestOmega ? QStringLiteral("At x = ") + qstr(compactNumber(row.largestOmegaX, ".", 6)) +
                               QStringLiteral(" on the bound's grid of %1 points.").arg(kBoundGridPoints)
                         : QString());
    return changed;
}

// Room for every row of the numbers table, as far as the plot keeps its
// smallest size.
void LabWindow::giveNumbersRoom()
{
    const QList<int> sizes = split_->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (total <= 0)
        return;
    const QHeaderView* header = numbers_->horizontalHeader();
    const int wanted = header->sizeHint().height() +
                       numbers_->rowCount() * numbers_->verticalHeader()->defaultSectionSize() +
                       2 * numbers_->frameWidth() +
                       numbers_->horizontalScrollBar()->sizeHint().height();
    const int table = std::min(wanted, total - plot_->minimumHeight() - split_->handleWidth());
    if (table > sizes.value(1))
        split_->setSizes({total - table, table});
}

void LabWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    giveNumbersRoom();
}

void LabWindow::updateActions()
{
    const bool fromData = model_.settings().function == LabFunction::Data;
    actions_.value("labUndoAction")->setEnabled(model_.canUndo());
    actions_.value("labRedoAction")->setEnabled(model_.canRedo());
    actions_.value("labResetNodesAction")->setEnabled(model_.edited());
    actions_.value("labPlayAction")->setEnabled(!fromData);
}

void LabWindow::say(const QString& sentence)
{
    // A refusal of a shown method is named whatever else happened, once:
    // the picture's description names it already.
    QString text = sentence;
    for (const StudyMethod method : kStudyMethods) {
        const MethodOutcome& out = model_.outcome(method);
        if (model_.settings().shown[methodIndex(method)] && !out.available() &&
            !sentence.contains(qstr(out.refusal))) {
            text += QStringLiteral(" ") + studyMethodName(method) +
                    QStringLiteral(" is unavailable: ") + qstr(out.refusal);
            break;
        }
    }
    // What was last done replaces what the pointer read before it.
    statusBar()->clearMessage();
    sentence_->setSentence(text);
}

void LabWindow::sayView(bool whole)
{
    if (whole) {
        say("The plot shows the whole picture.");
        return;
    }
    const LabPicture& picture = plot_->picture();
    const WorldRect& w = plot_->shownWorld();
    const auto range = [](double from, double to, bool log) {
        const auto number = [log](double v) {
            return qstr(compactNumber(log ? std::pow(10.0, v) : v, ".", 4));
        };
        return number(from) + QStringLiteral(" to ") + number(to);
    };
    say(QStringLiteral("The plot shows x from ") + range(w.left, w.right, picture.logX) +
        QStringLiteral(", y from ") + range(w.bottom, w.top, picture.logY) +
        QStringLiteral("; Ctrl+Home shows the whole picture."));
}

void LabWindow::ensureConvergence(const LabModel& model, ConvergenceStudy& study,
                                  ConvergenceRun& runner)
{
    const std::optional<ConvergenceRequest> request = convergenceRequestFor(model);
    if (!request)
        return;
    const std::optional<std::uint64_t> run = study.begin(*request);
    if (!run)
        return;
    // The worker posts each point to the window's thread, where the study
    // drops what an earlier run still had on its way.
    runner.start(
        *request,
        [this, &study, run = *run](const ConvergencePoint& point) {
            QMetaObject::invokeMethod(
                this,
                [this, &study, run, point] {
                    if (study.take(run, point) && !convergenceRedraw_->isActive())
                        convergenceRedraw_->start();
                },
                Qt::QueuedConnection);
        },
        [this, &study, run = *run] {
            QMetaObject::invokeMethod(
                this,
                [this, &study, run] {
                    if (!study.finish(run))
                        return;
                    convergenceRedraw_->stop();
                    showPictures();
                    updateNumbers();
                    // A run that ends after its panel left the view is kept
                    // for a return to it; the sentence is the new view's.
                    if (showsConvergence(study))
                        say(QStringLiteral("Largest error against n for ") +
                            countedMethods(study.request()->methods.size()) +
                            QStringLiteral(" at ") +
                            QString::number(study.request()->counts.size()) +
                            QStringLiteral(" numbers of nodes."));
                    if (convergenceComplete())
                        emit convergenceFinished();
                },
                Qt::QueuedConnection);
        });
    if (convergenceComplete())
        emit convergenceFinished();
    else
        say("Computing the largest error against n…");
}

bool LabWindow::showsConvergence(const ConvergenceStudy& study) const
{
    const LabModel* model = &study == &convergence_ ? &model_
                            : plot2_->isVisible() && panel2_.model() ? &*panel2_.model()
                                                                     : nullptr;
    return model && model->settings().view == LabView::Convergence;
}

bool LabWindow::convergenceComplete() const
{
    const auto done = [](const LabModel* model, const ConvergenceStudy& study) {
        return !model || model->settings().view != LabView::Convergence || study.complete();
    };
    const std::optional<LabModel>& second = panel2_.model();
    return done(&model_, convergence_) &&
           done(plot2_->isVisible() && second ? &*second : nullptr, convergence2_);
}

void LabWindow::startPlay(bool on)
{
    if (!on) {
        playTimer_->stop();
        say(QStringLiteral("Play stopped at n = ") + QString::number(model_.settings().count) +
            ".");
        return;
    }
    if (model_.settings().function == LabFunction::Data) {
        stopPlay();
        say("Play steps the number of nodes, and the main window's given points keep theirs.");
        return;
    }
    // Play compares the counts in the axes it started with.
    plot_->holdWorld();
    if (model_.setCount(kLabMinCount))
        return stopPlay();
    showSettings();
    refresh();
    say("Playing: n = 2.");
    playTimer_->start();
}

void LabWindow::playStep()
{
    const std::optional<int> next = nextPlayCount(model_.settings().count);
    if (!next || model_.setCount(*next)) {
        stopPlay();
        say("Play reached the last number of nodes.");
        return;
    }
    showSettings();
    refresh();
    say(QStringLiteral("Playing: n = ") + QString::number(*next) + ".");
}

void LabWindow::stopPlay()
{
    playTimer_->stop();
    QAction* play = actions_.value("labPlayAction");
    if (play && play->isChecked()) {
        const QSignalBlocker blocker(play);
        play->setChecked(false);
    }
}

void LabWindow::moveByKey(std::size_t node, double dy)
{
    stopPlay();
    if (node >= model_.nodes().size())
        return;
    const Node at = model_.nodes()[node];
    // The axes follow the node the keys move, so that it stays in sight.
    if (!actions_.value("labHoldAxesAction")->isChecked())
        plot_->releaseWorld();
    model_.beginDrag();
    model_.moveNode(node, at.x, at.y + dy, false);
    model_.finishDrag();
    refresh();
    say(QStringLiteral("Node %1 moved to y = %2.")
            .arg(node)
            .arg(qstr(compactNumber(model_.nodes()[node].y, ".", 6))));
}

void LabWindow::copyNumbers()
{
    const std::vector<NumbersRow> rows = numbersWithOrders(model_, convergence_.table());
    QApplication::clipboard()->setText(qstr(numbersText(rows, model_.settings().view)));
    say(QStringLiteral("Copied the numbers of ") + countedMethods(rows.size()) + ".");
}

void LabWindow::copyPicture()
{
    QApplication::clipboard()->setImage(plot_->pictureImage(1));
    say("Copied the picture.");
}

LabPicture LabWindow::currentPicture() const
{
    LabPicture picture = labPicture(model_, convergence_.table());
    if (title_)
        picture.title = title_->toStdString();
    if (tableauShown() && model_.settings().view == LabView::Values &&
        tableau_.unavailable().empty()) {
        for (LabSeries& series : tableau_.series())
            picture.series.push_back(std::move(series));
        if (const std::optional<double> x = tableau_.pickedX()) {
            LabSeries mark;
            mark.label = "Neville's x = " + compactNumber(*x, ".", 4);
            mark.colour = kReferenceColour;
            mark.dashed = true;
            mark.dash = LineDash::DashDotted;
            mark.x = {*x, *x};
            mark.y = {picture.world.bottom, picture.world.top};
            picture.series.push_back(std::move(mark));
        }
    }
    return picture;
}

// Linked axes join panels of one view; panels of two views keep their own.
bool LabWindow::panelsShareAxes() const
{
    const std::optional<LabModel>& second = panel2_.model();
    return second && second->settings().view == model_.settings().view;
}

void LabWindow::updateSecondPanel()
{
    if (plot2_->isVisible())
        panel2_.follow(model_, choice2_);
}

// Both panels show the world that holds both pictures.
void LabWindow::linkWorlds(LabPicture& first, LabPicture& second) const
{
    const WorldRect& a = first.world;
    const WorldRect& b = second.world;
    const WorldRect both{std::min(a.left, b.left), std::max(a.top, b.top),
                         std::max(a.right, b.right), std::min(a.bottom, b.bottom)};
    first.world = both;
    second.world = both;
}

void LabWindow::showPictures()
{
    LabPicture first = currentPicture();
    if (plot2_->isVisible() && !firstPanelOnly_) {
        updateSecondPanel();
        LabPicture second;
        if (const std::optional<LabModel>& model2 = panel2_.model()) {
            second = labPicture(*model2, convergence2_.table());
        } else {
            second.world = first.world;
            second.emptyReason = panel2_.refusal().value_or(std::string());
        }
        if (actions_.value("labLinkAxesAction")->isChecked() && panelsShareAxes())
            linkWorlds(first, second);
        plot2_->setPicture(std::move(second));
    }
    plot_->setPicture(std::move(first));
}

void LabWindow::setTitle(const std::optional<QString>& title)
{
    title_ = title;
    showPictures();
}

void LabWindow::askTitle()
{
    bool accepted = false;
    const QString text = QInputDialog::getText(
        this, "Title", "Title of the plot (empty: none):", QLineEdit::Normal,
        qstr(currentPicture().title), &accepted);
    if (!accepted)
        return;
    const bool automatic = text == qstr(labTitle(model_));
    setTitle(automatic ? std::nullopt : std::optional<QString>(text));
    say(text.isEmpty() ? QStringLiteral("The plot shows no title.")
                       : QStringLiteral("The plot's title: ") + text + ".");
}

bool LabWindow::saveWithDialog(const QString& title, const QString& filter,
                               const QString& suggested,
                               std::optional<QString> (LabWindow::*save)(const QString&))
{
    const QString path = askSaveFileName(this, title, suggested, filter);
    if (path.isEmpty())
        return false;
    if (const std::optional<QString> why = (this->*save)(path)) {
        const QString text = notSavedText(path, *why);
        say(text);
        QMessageBox::warning(this, windowTitle(), text);
        return false;
    }
    say(QStringLiteral("Saved ") + shownFileName(path) + ".");
    return true;
}

bool LabWindow::mayClose()
{
    std::string unsaved = model_.unsavedEdits();
    const bool lessonEdited = lesson_ != savedLesson_;
    if (lessonEdited)
        unsaved += unsaved.empty() ? "an edited lesson" : " and an edited lesson";
    if (closeAgreed_ || unsaved.empty())
        return true;
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    QStringLiteral("The lab holds %1 not saved.").arg(qstr(unsaved)),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName("labUnsavedBox");
    box.setInformativeText("Save them before the lab closes?");
    box.setDefaultButton(QMessageBox::Save);
    const int answer = box.exec();
    // Only a study keeps a typed function or a lesson; nodes alone go to a
    // data set.
    const auto save = [this, &unsaved, lessonEdited] {
        if (unsaved.find("typed function") == std::string::npos && !lessonEdited)
            return saveNodesWithDialog();
        return saveWithDialog("Save study", "Tarvel studies (*.tarvel)", "study.tarvel",
                              &LabWindow::saveStudy);
    };
    closeAgreed_ = answer == QMessageBox::Discard || (answer == QMessageBox::Save && save());
    return closeAgreed_;
}

void LabWindow::closeEvent(QCloseEvent* event)
{
    if (mayClose())
        event->accept();
    else
        event->ignore();
}

std::optional<QString> LabWindow::savePicture(const QString& path)
{
    const QString why = plot_->savePicture(path);
    return why.isEmpty() ? std::nullopt : std::optional<QString>(why);
}

namespace {

std::optional<QString> saveText(const QString& path, const std::string& text)
{
    const QString why = saveWhole(path, QByteArray::fromStdString(text));
    return why.isEmpty() ? std::nullopt : std::optional<QString>(why);
}

}  // namespace

std::optional<QString> LabWindow::saveValues(const QString& path)
{
    return saveText(path, valuesCsv(model_.valuesColumns()));
}

bool LabWindow::saveNodesWithDialog()
{
    return saveWithDialog("Save nodes", "Data sets (*.dsf)", "lab-nodes.dsf",
                          &LabWindow::saveNodes);
}

std::optional<QString> LabWindow::saveNodes(const QString& path)
{
    std::vector<double> x;
    std::vector<double> y;
    for (const Node& node : model_.nodes()) {
        x.push_back(node.x);
        y.push_back(node.y);
    }
    const std::optional<QString> why = saveText(path, dataSetText(x, y));
    if (!why)
        model_.markNodesSaved();
    return why;
}

namespace {

QString levelText(double level)
{
    return level == 0 ? QStringLiteral("none")
                      : qstr(compactNumber(level, ".")) + QStringLiteral(" of the range");
}

// A triangle of entries beside their abscissae: the headers "x", `first`,
// "order 1", ...; each entry with 6 digits, its tooltip with all 17, and
// the cells `marked` says set apart.
void fillTriangle(QTableWidget* table, const std::vector<double>& xs,
                  const std::vector<std::vector<double>>& rows, const QString& first,
                  const std::function<bool(std::size_t, std::size_t)>& marked)
{
    const int count = static_cast<int>(rows.size());
    table->clear();
    table->setRowCount(count);
    table->setColumnCount(count + 1);
    QStringList headers = {"x", first};
    for (int j = 1; j < count; ++j)
        headers << QStringLiteral("order %1").arg(j);
    table->setHorizontalHeaderLabels(headers);
    QFont bold = table->font();
    bold.setBold(true);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto cell = [&](int column, double value) {
            auto* item = new QTableWidgetItem(QString::number(value, 'g', 6));
            item->setToolTip(qstr(fullNumber(value)));
            table->setItem(static_cast<int>(i), column, item);
            return item;
        };
        cell(0, xs[i]);
        for (std::size_t j = 0; j < rows[i].size(); ++j)
            if (QTableWidgetItem* item = cell(static_cast<int>(j) + 1, rows[i][j]);
                marked(i, j)) {
                item->setBackground(QColor(255, 236, 150));
                item->setFont(bold);
            }
    }
    // Once for the whole table: sized to contents, each cell set would
    // measure them all again.
    table->resizeColumnsToContents();
}

}  // namespace

QWidget* LabWindow::createNoiseControls(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* rows = new QVBoxLayout(box);
    rows->setContentsMargins(0, 0, 0, 0);
    noise_ = new QSlider(Qt::Horizontal, box);
    noise_->setObjectName("labNoise");
    noise_->setRange(0, static_cast<int>(kNoiseLevels.size()) - 1);
    noise_->setPageStep(1);
    noise_->setTickPosition(QSlider::TicksBelow);
    noiseLevel_ = new QLabel(box);
    noiseLevel_->setObjectName("labNoiseLevel");
    auto* seedRow = new QHBoxLayout;
    noiseSeed_ = new QLabel(box);
    noiseSeed_->setObjectName("labNoiseSeed");
    noiseSeed_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* another = new QPushButton("New seed", box);
    another->setObjectName("labNoiseSeedButton");
    another->setAutoDefault(true);
    seedRow->addWidget(noiseSeed_, 1);
    seedRow->addWidget(another);
    rows->addWidget(noise_);
    rows->addWidget(noiseLevel_);
    rows->addLayout(seedRow);
    const QString what = QStringLiteral(
        "Noise on the node values: ε times the values' range times a normal number per node, "
        "ε from 0 to 1e-2 in decades. The seed draws the numbers; New seed draws others.");
    noise_->setToolTip(what);
    noise_->setAccessibleName("Noise");
    noise_->setAccessibleDescription(what);
    toolTips_.insert(noise_, what);
    return box;
}

void LabWindow::showNoise()
{
    const LabSettings& s = model_.settings();
    {
        const QSignalBlocker blocker(noise_);
        noise_->setValue(static_cast<int>(noiseLevelIndex(s.noise).value_or(0)));
    }
    noiseLevel_->setText(levelText(s.noise));
    noiseSeed_->setText(QStringLiteral("Seed %1").arg(s.noiseSeed));
}

void LabWindow::createTableauPanel()
{
    tableauPanel_ = new QDockWidget("Divided differences", this);
    tableauPanel_->setObjectName("labTableau");
    auto* panel = new QWidget(tableauPanel_);
    auto* column = new QVBoxLayout(panel);
    auto* form = new QFormLayout;
    tableauOrder_ = comboOf(kTableauOrders, panel);
    tableauOrder_->setObjectName("labTableauOrder");
    tableauOrder_->setAccessibleName("Order of the nodes");
    form->addRow("O&rder:", tableauOrder_);
    column->addLayout(form);
    tableauNote_ = new QLabel(panel);
    tableauNote_->setObjectName("labTableauNote");
    tableauNote_->setWordWrap(true);
    column->addWidget(tableauNote_);
    const auto table = [panel](const char* name, const QString& accessible) {
        auto* widget = new QTableWidget(panel);
        widget->setObjectName(name);
        widget->setAccessibleName(accessible);
        widget->setEditTriggers(QAbstractItemView::NoEditTriggers);
        widget->verticalHeader()->setVisible(false);
        return widget;
    };
    differences_ = table("labTableauTable", "Divided differences");
    differences_->setToolTip("f[x_{i−j}, …, x_i] in row i, order j; the Newton form's "
                             "coefficients are marked.");
    neville_ = table("labNevilleTable", "Neville's tableau");
    neville_->setToolTip("The value at the picked x of the polynomial through nodes i−j … i; "
                         "the last entry, marked, is p(x).");
    column->addWidget(differences_, 3);
    column->addWidget(new QLabel("Neville's tableau at the x clicked in the plot:", panel));
    column->addWidget(neville_, 2);
    tableauPanel_->setWidget(panel);
    addDockWidget(Qt::RightDockWidgetArea, tableauPanel_);
    tableauPanel_->hide();
}

bool LabWindow::tableauShown() const
{
    return tableauPanel_ && !tableauPanel_->isHidden();
}

// A hidden panel is filled when it is shown: a drag refreshes at every move.
void LabWindow::updateTableau()
{
    if (!tableauShown())
        return;
    selectKey(tableauOrder_, kTableauOrders, tableau_.order());
    tableauNote_->setStyleSheet({});
    const std::string why = tableau_.unavailable();
    if (!why.empty()) {
        tableauNote_->setText(qstr(why));
        differences_->clear();
        differences_->setRowCount(0);
        neville_->clear();
        neville_->setRowCount(0);
        return;
    }
    tableauNote_->setText(
        tableau_.taken().empty() && tableau_.order() == TableauOrder::Clicked
            ? QStringLiteral("Click the nodes in the plot in the order the tableau takes them.")
            : QStringLiteral("%1 of %2 nodes taken; click in the plot for Neville's tableau at "
                             "that x.")
                  .arg(tableau_.taken().size())
                  .arg(tableau_.nodeCount()));
    const DividedDifferenceTable table = tableau_.table();
    fillTriangle(differences_, table.xs, table.rows, QStringLiteral("f[xᵢ]"),
                 [](std::size_t i, std::size_t j) { return i == j; });
    const std::optional<NevilleTableau> neville = tableau_.neville();
    if (!neville) {
        neville_->clear();
        neville_->setRowCount(0);
        return;
    }
    const std::size_t last = neville->rows.size() - 1;
    fillTriangle(neville_, neville->xs, neville->rows, QStringLiteral("Pᵢ"),
                 [last](std::size_t i, std::size_t j) { return i == last && j == last; });
}

void LabWindow::tableauChanged(Refusal refusal, const QString& done)
{
    if (refusal) {
        const QString why = qstr(*refusal);
        tableauNote_->setText(why);
        tableauNote_->setStyleSheet("color: #c00000");
        say(why);
        return;
    }
    updateTableau();
    showPictures();
    say(done);
}

void LabWindow::plotClicked(double x, std::optional<std::size_t> node)
{
    if (!tableauShown() || model_.settings().view != LabView::Values)
        return;
    if (node && tableau_.order() == TableauOrder::Clicked) {
        const Refusal refusal = tableau_.takeNode(*node);
        const std::vector<double> c = tableau_.table().coefficients();
        tableauChanged(refusal, refusal ? QString()
                                        : QStringLiteral("Node %1 joins the tableau; its Newton "
                                                         "coefficient is %2.")
                                              .arg(*node)
                                              .arg(qstr(compactNumber(c.back(), ".", 6))));
        return;
    }
    const Refusal refusal = tableau_.pickX(x);
    const std::optional<NevilleTableau> neville = tableau_.neville();
    tableauChanged(refusal,
                   neville ? QStringLiteral("Neville's tableau at x = %1: p(x) = %2.")
                                 .arg(qstr(compactNumber(x, ".", 6)),
                                      qstr(compactNumber(neville->rows.back().back(), ".", 6)))
                           : QStringLiteral("Neville's tableau waits for a node in the tableau."));
}

}  // namespace tarvel::ui
